#include "game/quiz/QuizRoom.h"

#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/app/CxGameApp.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/sound/CxWave.h"
#include "PIM/text/CxFont.h"
#include "game/common/CGameServices.h"
#include "game/common/CPlayerStore.h"
#include "game/common/CYesNoDialog.h"
#include "game/common/GameData.h"
#include "game/common/GameSpriteLook.h"

#include <memory>

namespace {

constexpr const char* kSwoosh = "tr_swoosh.wav";
constexpr const char* kGood = "tr_good.wav";
constexpr const char* kBad = "tr_bad.wav";
constexpr const char* kSounds[] = {kSwoosh, kGood, kBad};
constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kBlack = 0x00000000;
// The texts lie over the buttons (the room's button depth) and under the
// right and wrong pictures.
constexpr int32_t kTextZ = 1;

CxString AnswerButtonName(int position)
{
    CxString name;
    name.Format("Answer%d", position);
    return name;
}

} // namespace

CQuiz::CQuiz(CxGameApp* app) : CGameRoom(app) {}

CQuiz::~CQuiz()
{
    ReleaseAll();
}

// --- loading ------------------------------------------------------------------------------------

int CQuiz::Load()
{
    const int code = CGameRoom::Load();
    ReleaseAll();
    m_setup = ReadQuizLevel(GetOptions());
    if (m_setup.mended > 0)
        Trace("Quiz: %d values of the room file were out of range and were kept within it\n", m_setup.mended);
    if (m_setup.roundSize > m_setup.poolSize)
        Trace("Quiz: a round of %d from a pool of %d asks %d\n", m_setup.roundSize, m_setup.poolSize,
              m_setup.poolSize);
    LoadButtons();

    CxString fontPath;
    if (!m_setup.font.IsEmpty() && (!GameFindData(m_setup.font.GetText(), fontPath) ||
                                    LoadFont(fontPath.GetText(), &m_font) != PIM_OK))
        m_font = 0;

    m_rightPicture = LoadMark(m_setup.rightPicture);
    m_wrongPicture = LoadMark(m_setup.wrongPicture);

    const int32_t width = m_setup.textWidth, height = m_setup.textHeight;
    MakeText(m_question, m_setup.questionAt, width, height);
    // Each answer's words belong to its panel, so that a click on them
    // presses the panel; without a panel they stand on the room.
    for (int i = 0; i < QUIZ_ANSWERS; ++i) {
        CxDisplayObject* panel = m_buttons[static_cast<size_t>(i)].get();
        const CxPoint at = m_setup.buttons[static_cast<size_t>(i)].textAt;
        MakeText(m_answers[static_cast<size_t>(i)], panel ? at - panel->GetPosition() : at, width, height, panel);
    }
    MakeText(m_score, m_setup.scoreAt, QUIZ_SCORE_WIDTH, QUIZ_SCORE_HEIGHT);
    m_textsMade = true;
    m_score.Show();

    for (const char* sound : kSounds)
        m_sounds.push_back(GameLoadOptionalSound(sound));

    m_model.Configure(m_setup.poolSize, m_setup.roundSize);
    NewRound();
    return code;
}

void CQuiz::LoadButtons()
{
    for (int i = 0; i < QUIZ_ANSWERS; ++i) {
        const ST_QUIZ_ANSWER_BUTTON& from = m_setup.buttons[static_cast<size_t>(i)];
        if (from.picture.IsEmpty())
            continue;
        ST_DAX_BUTTON_SECTION section;
        section.name = AnswerButtonName(i);
        section.fileName = from.picture;
        section.numFrames = 5;
        section.position = from.position;
        ST_DAX_BUTTON_PLACEMENT placement;
        placement.parent = this;
        placement.z = DAX_ROOM_BUTTON_Z;
        placement.shown = true;
        m_buttons[static_cast<size_t>(i)].reset(DaxMakeButton(section, placement));
        if (m_buttons[static_cast<size_t>(i)])
            GameApplySeeThrough(*m_buttons[static_cast<size_t>(i)], true);
    }
}

void CQuiz::MakeText(CxDrawText& text, CxPoint at, int32_t width, int32_t height, CxDisplayObject* parent)
{
    text.Create(at.x, at.y, width, height, parent ? parent : this);
    text.SetZ(kTextZ);
    text.SetFont(m_font ? m_font : GameServices().GetGameFont());
    text.SetPointSize(m_setup.fontHeight);
    text.SetColour(kWhite);
    text.SetShadowColour(kBlack);
    // Only the letters show: the buttons' panels stay visible around them.
    text.SetBackgroundHandling(false);
    text.SetTextFlags(QUIZ_TEXT_FLAGS);
    text.Hide();
}

std::unique_ptr<CxSprite> CQuiz::LoadMark(const CxString& name)
{
    // Both pictures are optional: one not named, or not there, is skipped.
    if (name.IsEmpty() || !GameDataExists(name.GetText()))
        return nullptr;
    auto picture = std::make_unique<CxSprite>();
    if (picture->Load(name.GetText(), 1) != PIM_OK)
        return nullptr;
    GameApplySeeThrough(*picture, true);
    picture->SetZ(QUIZ_PICTURE_Z);
    AddChild(picture.get());
    picture->SetPosition(m_setup.pictureAt);
    picture->Hide();
    return picture;
}

// --- the round ----------------------------------------------------------------------------------

void CQuiz::NewRound()
{
    m_model.NewRound();
    ShowScore();
    ShowQuestion();
}

void CQuiz::ShowQuestion()
{
    if (!m_model.ShowQuestion()) {
        // The round is over (or asks nothing at all): its dialog opens on
        // the next frame, never from inside Load or a click.
        m_endDue = true;
        return;
    }
    const int question = m_model.GetQuestion();
    for (int p = 0; p < QUIZ_ANSWERS; ++p) {
        CxDrawText& text = m_answers[static_cast<size_t>(p)];
        const CxString key = CQuizModel::AnswerKey(question, m_model.GetAnswerAt(p));
        text.SetText(GameServices().GetLocalizedString(key.GetText()).GetText());
        text.Show();
    }
    m_question.SetText(GameServices().GetLocalizedString(CQuizModel::QuestionKey(question).GetText()).GetText());
    m_question.Show();
    PlaySound(kSwoosh);
}

void CQuiz::ShowScore()
{
    if (m_textsMade)
        m_score.SetText(m_model.GetScoreText().GetText());
}

void CQuiz::HideQuestion()
{
    m_question.Hide();
    for (CxDrawText& text : m_answers)
        text.Hide();
}

void CQuiz::ShowPicture(EQuizState state, bool shown)
{
    CxSprite* picture = state == EQuizState::Right ? m_rightPicture.get()
                        : state == EQuizState::Wrong ? m_wrongPicture.get()
                                                     : nullptr;
    if (picture && shown)
        picture->Show();
    else if (picture)
        picture->Hide();
}

void CQuiz::Answer(int position)
{
    // A click while a picture shows (or before a question is out) is no answer.
    if (!m_model.Answer(position, GetGameTime()))
        return;
    const EQuizState state = m_model.GetState();
    PlaySound(state == EQuizState::Right ? kGood : kBad);
    ShowPicture(state, true);
    ShowScore();
}

int CQuiz::Update()
{
    const int code = CGameRoom::Update();
    if (m_endDue) {
        EndRound();
        return code;
    }
    const EQuizState showing = m_model.GetState();
    const EQuizStep step = m_model.Step(GetGameTime());
    if (step == EQuizStep::Nothing)
        return code;
    ShowPicture(showing, false);
    HideQuestion();
    // The question just answered, kept with the player's other values.
    CPlayerStore& players = GameServices().GetPlayers();
    if (players.HasPlayer()) {
        players.WriteInt(QUIZ_PLAYER_KEY, m_model.GetLastAnswered());
        players.Save();
    }
    ShowQuestion();
    return code;
}

void CQuiz::EndRound()
{
    m_endDue = false;
    m_lastDialogText = m_model.GetEndText();
    ++m_dialogs;
    AddPause();
    int yes = 0;
    {
        auto dialog = std::make_unique<CYesNoDialog>();
        dialog->LoadDialog(QUIZ_TRY_AGAIN_DIALOG);
        dialog->SetZ(0);
        dialog->SetText(m_lastDialogText.GetText());
        dialog->DoModal();
        yes = dialog->GetResult();
    }
    ReleasePause();
    if (yes) {
        NewRound();
    } else if (CxGameApp* app = GetApp()) {
        app->GotoRoom(QUIZ_HOME_ROOM);
    }
}

// --- input --------------------------------------------------------------------------------------

void CQuiz::OnButton(const char* name)
{
    for (int i = 0; i < QUIZ_ANSWERS; ++i)
        if (m_buttons[static_cast<size_t>(i)] && PimStrEqual(name, AnswerButtonName(i).GetText(), true)) {
            Answer(i);
            return;
        }
    CGameRoom::OnButton(name);
}

// --- sounds -------------------------------------------------------------------------------------

void CQuiz::PlaySound(const char* name)
{
    m_played.emplace_back(name);
    for (size_t i = 0; i < std::size(kSounds) && i < m_sounds.size(); ++i)
        if (PimStrEqual(kSounds[i], name, true) && m_sounds[i]) {
            m_sounds[i]->Play();
            return;
        }
}

CDaxButton* CQuiz::GetAnswerButton(int position)
{
    return position >= 0 && position < QUIZ_ANSWERS ? m_buttons[static_cast<size_t>(position)].get() : nullptr;
}

// --- stopping -----------------------------------------------------------------------------------

int CQuiz::Unload()
{
    ReleaseAll();
    return CGameRoom::Unload();
}

void CQuiz::ReleaseAll()
{
    // The answers' words first: they hang on the panels.
    if (m_textsMade) {
        m_question.Release();
        for (CxDrawText& text : m_answers)
            text.Release();
        m_score.Release();
        m_textsMade = false;
    }
    for (auto& button : m_buttons)
        button.reset();
    m_rightPicture.reset();
    m_wrongPicture.reset();
    if (m_font) {
        DeleteFont(m_font);
        m_font = 0;
    }
    m_sounds.clear();
    m_played.clear();
    m_endDue = false;
    m_dialogs = 0;
}
