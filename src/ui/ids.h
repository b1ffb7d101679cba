#pragma once

// Names of the controls and timers that the logic reads and writes. The view binds one widget to
// each name.
namespace tervano::id {

// Main window.
inline constexpr const char* kMainWindow = "mainWindow";  // enabled: accepts input

// Play screen.
inline constexpr const char* kPoints = "points";
inline constexpr const char* kGrade = "grade";
inline constexpr const char* kCrossword = "crossword";
inline constexpr const char* kGood = "good";
inline constexpr const char* kBad = "bad";
inline constexpr const char* kGradeCaption = "gradeCaption";
inline constexpr const char* kLanguage = "language";
inline constexpr const char* kLanguageCaption = "languageCaption";
inline constexpr const char* kWordCountBig = "wordCountBig";
inline constexpr const char* kScoringGroup = "scoringGroup";
inline constexpr const char* kScoreGood = "scoreGood";
inline constexpr const char* kScoreBad = "scoreBad";
inline constexpr const char* kScoreGoodTajenka = "scoreGoodTajenka";
inline constexpr const char* kScoreBadTajenka = "scoreBadTajenka";
inline constexpr const char* kScoreWordCount = "scoreWordCount";
inline constexpr const char* kCanGain = "canGain";
inline constexpr const char* kCanLose = "canLose";
inline constexpr const char* kAnswerArea = "answerArea";
inline constexpr const char* kLegendArea = "legendArea";
inline constexpr const char* kMapArea = "mapArea";
inline constexpr const char* kKontrola = "kontrola";
inline constexpr const char* kShowMenu = "showMenu";  // "Hlavní nabídka"
inline constexpr const char* kGaugeGrades = "gaugeGrades";
inline constexpr const char* kGaugeCrosswords = "gaugeCrosswords";
inline constexpr const char* kAccessCode = "accessCode";
inline constexpr const char* kBackground = "background";

// Menu screen.
inline constexpr const char* kMenuScreen = "menuScreen";
inline constexpr const char* kMenuLower = "menuLower";  // the band around the title and buttons
inline constexpr const char* kTitle = "title";
inline constexpr const char* kCatGame = "catGame";
inline constexpr const char* kCatHelp = "catHelp";
inline constexpr const char* kCatApp = "catApp";
inline constexpr const char* kCatSettings = "catSettings";
inline constexpr const char* kTools = "tools";  // "Nástroje"
inline constexpr const char* kEditorBar = "editorBar";
inline constexpr const char* kCatEditorData = "catEditorData";  // "Křížovka ..." / "Skript ..."
inline constexpr const char* kCatToolExit = "catToolExit";      // "Editor ..."
inline constexpr const char* kCatSetMusic = "catSetMusic";      // "Sada ..."

inline constexpr const char* kPanelGame = "panelGame";
inline constexpr const char* kPanelHelp = "panelHelp";
inline constexpr const char* kPanelApp = "panelApp";
inline constexpr const char* kPanelSettings = "panelSettings";
inline constexpr const char* kPanelTools = "panelTools";
inline constexpr const char* kPanelEditorData = "panelEditorData";
inline constexpr const char* kPanelToolExit = "panelToolExit";
inline constexpr const char* kPanelSetMusic = "panelSetMusic";
inline constexpr const char* kPanelAutosave = "panelAutosave";
inline constexpr const char* kPanelRecordPlayer = "panelRecordPlayer";
inline constexpr const char* kPanelCredits = "panelCredits";

// Game panel.
inline constexpr const char* kNewGame = "newGame";
inline constexpr const char* kNewGameSettings = "newGameSettings";
inline constexpr const char* kLoadGame = "loadGame";
inline constexpr const char* kSaveGame = "saveGame";
inline constexpr const char* kReturnToGame = "returnToGame";
inline constexpr const char* kEndGame = "endGame";
// Help panel.
inline constexpr const char* kHelp = "help";
inline constexpr const char* kAbout = "about";
inline constexpr const char* kCredits = "credits";
inline constexpr const char* kKeyList = "keyList";
inline constexpr const char* kEula = "eula";
// Application panel.
inline constexpr const char* kQuit = "quit";
// Settings panel.
inline constexpr const char* kSoundOnPic = "soundOnPic";
inline constexpr const char* kSoundOffPic = "soundOffPic";
inline constexpr const char* kMusicOnPic = "musicOnPic";
inline constexpr const char* kMusicOffPic = "musicOffPic";
inline constexpr const char* kSoundsAndMusic = "soundsAndMusic";
inline constexpr const char* kErrorPerLine = "errorPerLine";
inline constexpr const char* kErrorPerLineCaption = "errorPerLineCaption";
inline constexpr const char* kAskOverwrite = "askOverwrite";
inline constexpr const char* kAskOverwriteCaption = "askOverwriteCaption";
inline constexpr const char* kNoScripts = "noScripts";
inline constexpr const char* kNoScriptsCaption = "noScriptsCaption";
inline constexpr const char* kAutosaveButton = "autosaveButton";
// Tools panel.
inline constexpr const char* kToolEditor = "toolEditor";
inline constexpr const char* kToolScriptEditor = "toolScriptEditor";
inline constexpr const char* kToolSets = "toolSets";
inline constexpr const char* kToolMainApp = "toolMainApp";
inline constexpr const char* kToolAutosave = "toolAutosave";
inline constexpr const char* kToolCrashLoad = "toolCrashLoad";
inline constexpr const char* kSetPanelMainApp = "setPanelMainApp";
inline constexpr const char* kAutosavePanelMainApp = "autosavePanelMainApp";
// Tool exit panel.
inline constexpr const char* kToolQuit = "toolQuit";
// Autosave settings panel.
inline constexpr const char* kAutosaveOn = "autosaveOn";
inline constexpr const char* kAutosaveTrigger = "autosaveTrigger";
inline constexpr const char* kAutosaveQuota = "autosaveQuota";
inline constexpr const char* kAutosaveApply = "autosaveApply";
// Record player.
inline constexpr const char* kRecordFile = "recordFile";
inline constexpr const char* kRecordBack = "recordBack";
// Credits.
inline constexpr const char* kCreditsTitle = "creditsTitle";
inline constexpr const char* kCreditsCaption = "creditsCaption";
inline constexpr const char* kCreditsName = "creditsName";
inline constexpr const char* kCreditsClose = "creditsClose";

// Shortcut menu items (enabled state only).
inline constexpr const char* kScSound = "sc.sound";
inline constexpr const char* kScMusic = "sc.music";
inline constexpr const char* kScHelp = "sc.help";
inline constexpr const char* kScAbout = "sc.about";
inline constexpr const char* kScCredits = "sc.credits";
inline constexpr const char* kScNewGame = "sc.newGame";
inline constexpr const char* kScNewGameSettings = "sc.newGameSettings";
inline constexpr const char* kScLoad = "sc.load";
inline constexpr const char* kScSave = "sc.save";
inline constexpr const char* kScReturn = "sc.return";
inline constexpr const char* kScEndGame = "sc.endGame";
inline constexpr const char* kScMainMenu = "sc.mainMenu";
inline constexpr const char* kScQuit = "sc.quit";

// The window itself: title text and icon file.
inline constexpr const char* kWindowTitle = "windowTitle";

// Help window.
inline constexpr const char* kHelpWindow = "helpWindow";
inline constexpr const char* kHelpSample = "help.sample";
inline constexpr const char* kHelpSampleCaption = "help.sampleCaption";
inline constexpr const char* kHelpKeys = "help.keys";
inline constexpr const char* kHelpMap = "help.map";
inline constexpr const char* kHelpMapCaption = "help.mapCaption";
inline constexpr const char* kHelpLegend = "help.legend";
inline constexpr const char* kHelpAdvice = "help.advice";
inline constexpr const char* kHelpKeyList = "help.keyList";
inline constexpr const char* kHelpLicence = "help.licence";
inline constexpr const char* kHelpPageTitle = "help.pageTitle";
inline constexpr const char* kHelpTopics = "help.topics";
inline constexpr const char* kHelpTopicsPanel = "help.topicsPanel";
inline constexpr const char* kHelpTopicSample = "help.topicSample";
inline constexpr const char* kHelpTopicKeys = "help.topicKeys";
inline constexpr const char* kHelpTopicEula = "help.topicEula";
inline constexpr const char* kHelpLink = "help.link";
inline constexpr const char* kHelpQuit = "help.quit";
inline constexpr const char* kHelpBackground = "help.background";

// About window.
inline constexpr const char* kAboutWindow = "aboutWindow";
inline constexpr const char* kAboutPackage = "about.package";
inline constexpr const char* kAboutAuthor = "about.author";
inline constexpr const char* kAboutEula = "about.eula";
inline constexpr const char* kAboutCredits = "about.credits";
inline constexpr const char* kAboutBack = "about.back";

// Crossword chooser window.
inline constexpr const char* kChooserWindow = "chooserWindow";
inline constexpr const char* kChooserTitle = "chooser.title";
inline constexpr const char* kChooserGrade = "chooser.grade";
inline constexpr const char* kChooserCrossword = "chooser.crossword";
inline constexpr const char* kChooserStart = "chooser.start";      // "Potvrď nastavení"
inline constexpr const char* kChooserConfirm = "chooser.confirm";  // "Potvrď"
inline constexpr const char* kChooserBack = "chooser.back";
inline constexpr const char* kChooserDelete = "chooser.delete";

// Timers.
inline constexpr const char* kTimerAccessCode = "timer.accessCode";
inline constexpr const char* kTimerKontrola = "timer.kontrola";
inline constexpr const char* kTimerGauge = "timer.gauge";
inline constexpr const char* kTimerMusic = "timer.music";
inline constexpr const char* kTimerFileName = "timer.fileName";
inline constexpr const char* kTimerCredits = "timer.credits";
inline constexpr const char* kTimerEditorStatus = "timer.editorStatus";
inline constexpr const char* kTimerCompletion = "timer.completion";
inline constexpr const char* kTimerHelpFiller = "timer.helpFiller";
inline constexpr const char* kTimerAbout = "timer.about";

}  // namespace tervano::id
