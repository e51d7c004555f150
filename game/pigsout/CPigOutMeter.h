#pragma once
// How far through its objects the pig run is: the meter's picture with a
// marker inside it that goes down from y 80 to 390 as the records are used.

#include "PIM/display/CxSprite.h"

#include <memory>

constexpr const char* PIGS_METER_PICTURE = "G07_score.tga";
constexpr const char* PIGS_MARKER_PICTURE = "G07_meterMarker.tga";
constexpr int PIGS_MARKER_X = 125;

class CPigOutMeter : public CxSprite
{
public:
    CPigOutMeter();
    ~CPigOutMeter() override;

    // Both pictures (a missing one is traced and left empty).
    void LoadPictures();
    void SetMarkerY(int y);
    const CxSprite& GetMarker() const { return *m_marker; }

private:
    std::unique_ptr<CxSprite> m_marker;
};
