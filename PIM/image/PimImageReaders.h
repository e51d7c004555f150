#pragma once
// The image readers and writers the registry knows, and the palette and
// colour-table builders that surface conversions call. Each reader reads the
// whole file through the file systems and treats it as hostile: every size,
// count and offset is checked before use.

#include "PIM/core/PimDefs.h"

class CxDrawSurface;

// Targa: types 1, 2, 3, 9, 10, 11 read; written raw or (argument 1) RLE.
int LoadTarga(CxDrawSurface& surface, const char* fileName, int argument);
int SaveTarga(CxDrawSurface& surface, const char* fileName, int argument);
// The engine's own format.
int LoadPim(CxDrawSurface& surface, const char* fileName, int argument);
int LoadPcx(CxDrawSurface& surface, const char* fileName, int argument);
int LoadBmp(CxDrawSurface& surface, const char* fileName, int argument);
// PNG for people: 8/16/24/32-bit and paletted read; 24 and 32-bit written.
int LoadPng(CxDrawSurface& surface, const char* fileName, int argument);
int SavePng(CxDrawSurface& surface, const char* fileName, int argument);

// The same readers over bytes already in memory (the fuzz targets and tests
// use them; the file readers load the file and call these).
int DecodeTarga(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name);
int DecodePim(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name);
int DecodePcx(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name);
int DecodeBmp(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name);
int DecodePng(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name);

// The checksum of ".PIM" data: the reflected CRC-32 table, a register that
// starts at 0 and is not inverted ("abc" gives 0xCA6598D0).
uint32_t PimChecksum(const uint8_t* data, size_t size);
// The engine's LZ scheme into exactly `outSize` bytes; 0 or 13.
int PimDecompressLz(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize);
