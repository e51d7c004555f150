#pragma once
// The activity centre ("ActivityCenter"): the hub that opens once the
// closing chapter is done, with the jigsaw, the quiz and the paint room
// (its room file's buttons) and the spider family. The first visit shows
// the baby spiders' movie with a voice-over and then asks the "lots to do"
// question; the "Codes" button shows the secret codes. The quiz is English
// only. A data set without the movie or the voice skips them quietly.

#include "DAX/sprites/CDaxSprite.h"
#include "game/common/CGameRoom.h"

constexpr const char* GAME_CENTRE_MOVIE = "m06_babyspiders.bik";
constexpr const char* GAME_CENTRE_VOICE = "S05_VO_TB_001.wav";
constexpr const char* GAME_CENTRE_SPIDER = "ActivityCenter/spider.xni";
constexpr const char* GAME_LOTS_TO_DO_DIALOG = "COMMON/lotstododialog.ini";

class CActivityCenter : public CGameRoom
{
public:
    explicit CActivityCenter(CxGameApp* app);
    ~CActivityCenter() override;

    int Load() override;
    int Start() override;
    int Unload() override;
    void OnButton(const char* name) override;

    // The codes dialog with the "Code" text, the room paused meanwhile.
    void ShowCodes();
    CDaxSprite* GetSpider() const { return m_spider; }

private:
    // The arrival movie and its voice-over, the first time only.
    void PlayFirstVisitMovie();

    CDaxSprite* m_spider = nullptr;
};
