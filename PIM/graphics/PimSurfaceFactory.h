#pragma once
// The one place new surfaces come from. A screen driver may install a
// creator so that surfaces are of its own kind; otherwise a plain
// CxDrawSurface is made.

class CxDrawSurface;

using PimSurfaceCreator = CxDrawSurface* (*)();

// Null when out of memory.
CxDrawSurface* CreateDrawSurface();
// A surface from the factory, loaded from a file; null when either fails
// (the error is reported by the loader).
CxDrawSurface* LoadDrawSurface(const char* fileName, int argument = 0);
void SetSurfaceCreator(PimSurfaceCreator creator);
// No creator, and the preferred 16-bit layout back to none.
void ResetSurfaceFactory();
