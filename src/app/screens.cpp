#include "app/screens.h"

#include "app/mode_registry.h"

#include "autosave/autosave.h"
#include "ui/ids/menu.h"
#include "ui/ids/play.h"
#include "ui/ids/shortcuts.h"
#include "ui/ids/timers.h"
#include "ui/ids/window.h"

namespace tervano::app {

ui::Control caption(std::string text, bool visible, bool enabled) {
  ui::Control c;
  c.text = std::move(text);
  c.visible = visible;
  c.enabled = enabled;
  return c;
}

ui::Control hidden(std::string text) {
  return caption(std::move(text), false);
}

void declareCommonScreens(ui::Controls& c, const ModeRegistry& modes) {
  using namespace id;
  c.declare(kMainWindow);
  c.declare(kWindowTitle, caption("Tervano"));
  c.declare(kWindowIcon);
  c.declare(kModeButtonPictures, hidden());

  // Play screen.
  for (auto counter : {kPoints, kGrade, kCrossword, kGood, kBad})
    c.declare(counter, caption("0"));
  c.setText(kGrade, "1");
  c.setText(kCrossword, "1");
  c.declare(kGradeCaption, caption("Ročník:"));
  c.declare(kLanguageCaption, caption("Jazyk:"));
  c.declare(kLanguage);
  c.declare(kWordCountBig, caption("0"));
  c.declare(kScoringGroup, caption("Bodování za tuto křížovku"));
  for (auto s : {kScoreGood, kScoreBad, kScoreGoodTajenka, kScoreBadTajenka, kScoreWordCount})
    c.declare(s, caption("0"));
  c.declare(kScoreGoodCaption, caption("Body za dobře zodpovězená slova:"));
  c.declare(kScoreBadCaption, caption("Body za špatně zodpovězená slova:"));
  c.declare(kScoreGoodTajenkaCaption, caption("Body za dobře zodpovězenou tajenku:"));
  c.declare(kScoreBadTajenkaCaption, caption("Body za špatně zodpovězenou tajenku:"));
  c.declare(kCanGain, caption("0"));
  c.declare(kCanLose, caption("0"));
  c.declare(kAnswerArea);
  c.declare(kLegendArea);
  c.declare(kMapArea);
  c.declare(kKontrola, caption("Kontrola"));
  c.declare(kShowMenu, caption("Hlavní nabídka"));
  c.declare(kProgressGroup, caption("Jak daleko již jste ..."));
  ui::Control gauge;
  gauge.maximum = 100;
  c.declare(kGaugeGrades, gauge);
  c.declare(kGaugeCrosswords, gauge);
  c.declare(kAccessCode, hidden());
  c.declare(kBackground);

  // Menu screen.
  ui::Control menu = caption("");
  menu.geometry = {0, 0, 598, 543};
  c.declare(kMenuScreen, menu);
  c.declare(kMenuLower);
  c.declare(kTitle, caption("Tervano V. 3.00"));
  c.declare(kCatGame, caption("Hra ..."));
  c.declare(kCatHelp, caption("Pomoc ..."));
  c.declare(kCatApp, caption("Aplikace ..."));
  c.declare(kCatSettings, caption("Nastavení ..."));
  c.declare(kTools, caption("Nástroje"));
  c.declare(kEditorBar, hidden());
  c.declare(kCatEditorData, caption("Křížovka ..."));
  c.declare(kCatToolExit, caption("Editor ..."));
  c.declare(kCatSetMusic, hidden("Sada ..."));  // "Ozvučení" is hidden in every mode
  for (auto p : {kPanelGame, kPanelHelp, kPanelApp, kPanelSettings, kPanelTools, kPanelEditorData,
                 kPanelToolExit, kPanelSetMusic, kPanelAutosave, kPanelRecordPlayer, kPanelCredits})
    c.declare(p, hidden());

  c.declare(kNewGame, caption("Nová hra"));
  c.declare(kNewGameSettings, caption("Nastavení+Nová hra"));
  c.declare(kLoadGame, caption("Načíst hru"));
  c.declare(kSaveGame, caption("Uložit hru", true, false));
  c.declare(kReturnToGame, caption("Návrat do hry", true, false));
  c.declare(kEndGame, caption("Ukončit hru", true, false));
  c.declare(kHelp, caption("Nápověda"));
  c.declare(kAbout, caption("O aplikaci"));
  c.declare(kCredits, caption("Credits"));
  c.declare(kKeyList, caption("Klávesové zkratky"));
  c.declare(kEula, caption("EULA"));
  c.declare(kQuit, caption("Konec"));

  c.declare(kSoundOnPic);
  c.declare(kSoundOffPic, hidden());
  c.declare(kMusicOnPic, hidden());
  c.declare(kMusicOffPic);
  c.declare(kSoundsAndMusic, caption("Zvuky a hudba", true, false));
  c.declare(kErrorPerLine);
  c.declare(kErrorPerLineCaption, caption("Konkrétně ukázat chybu"));
  ui::Control ask = caption("", true, false);
  ask.checked = true;
  c.declare(kAskOverwrite, ask);
  c.declare(kAskOverwriteCaption, caption("Dotazovat se před přepsáním savu", true, false));
  c.declare(kNoScripts);
  c.declare(kNoScriptsCaption, caption("Neprovádět žádné skripty"));
  c.declare(kAutosaveButton, caption("Automatické uložení"));

  for (const ModeRow* mode : modes.toolPanel())
    c.declare(mode->toolButton, caption(mode->caption));
  c.declare(kToolQuit, caption("Konec"));

  c.declare(kAutosaveOn, caption("Ano"));
  ui::Control trigger = caption(std::string(autosave::kTriggerOf[0]));
  for (auto item : autosave::kTriggerItems)
    trigger.lines.append(std::string(item));
  c.declare(kAutosaveTrigger, trigger);
  ui::Control quota;
  quota.minimum = autosave::kQuotaMin;
  quota.maximum = autosave::kQuotaMax;
  quota.value = 50;
  c.declare(kAutosaveQuota, quota);
  c.declare(kAutosaveApply, caption("Aktualizace"));

  c.declare(kRecordFile);
  c.declare(kRecordBack, caption("Zpět"));

  ui::Control creditsTitle = caption("Credits");
  creditsTitle.color = "aqua";
  c.declare(kCreditsTitle, creditsTitle);
  ui::Control creditsLabel;
  creditsLabel.fontSize = 16;
  c.declare(kCreditsCaption, creditsLabel);
  c.declare(kCreditsName, creditsLabel);
  ui::Control close = caption("X");
  close.cursor = ui::Cursor::Hand;
  c.declare(kCreditsClose, close);

  for (auto sc : {kScSound, kScMusic, kScHelp, kScAbout, kScCredits, kScNewGame, kScNewGameSettings,
                  kScLoad, kScSave, kScReturn, kScEndGame, kScMainMenu, kScQuit})
    c.declare(sc);

  c.declareTimer(kTimerAccessCode, 3000);
  c.declareTimer(kTimerKontrola, 1000);
  c.declareTimer(kTimerGauge, 500);
  c.declareTimer(kTimerMusic, 1, true);
  c.declareTimer(kTimerFileName, 1, true);
  c.declareTimer(kTimerCredits, 20);
  c.declareTimer(kTimerEditorStatus, 1, true);
  c.declareTimer(kTimerCompletion, 1000);
  c.declareTimer(kTimerHelpFiller, 1000);
  c.declareTimer(kTimerAbout, 1, true);
}

}  // namespace tervano::app
