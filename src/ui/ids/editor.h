#pragma once

// Names of the controls of the crossword editor: its inputs over the play screen, the data panel
// (shared with the script editor) and the word-list window. The view binds one widget to each;
// the logic reads and writes the model under the same names.
namespace tervano::id {

// Over the play screen, opened by the pointer.
inline constexpr const char* kGradeSpin = "editor.gradeSpin";
inline constexpr const char* kLanguageBox = "editor.languageBox";
inline constexpr const char* kScoreSpinGood = "editor.scoreSpinGood";
inline constexpr const char* kScoreSpinBad = "editor.scoreSpinBad";
inline constexpr const char* kScoreSpinGoodTajenka = "editor.scoreSpinGoodTajenka";
inline constexpr const char* kScoreSpinBadTajenka = "editor.scoreSpinBadTajenka";
// Always shown in the editor.
inline constexpr const char* kSavePoint = "editor.savePoint";  // "Bod uložení"
inline constexpr const char* kArrowPrev = "editor.arrowPrev";
inline constexpr const char* kArrowNext = "editor.arrowNext";

// The data panel of both editors, opened by "Křížovka ..." ("Skript ...").
inline constexpr const char* kDataNew = "editor.dataNew";  // "Nová ..." / "Nový ..."
inline constexpr const char* kDataLoad = "editor.dataLoad";
inline constexpr const char* kDataSave = "editor.dataSave";
inline constexpr const char* kDataReturn = "editor.dataReturn";  // "Návrat k editaci"
inline constexpr const char* kDataClose = "editor.dataClose";    // "Ukončit režim editace"
inline constexpr const char* kDataStatus = "editor.dataStatus";  // the value beside "Data:"
// The crossword editor's own entries of the data panel.
inline constexpr const char* kDataFromWords = "editor.dataFromWords";  // "Sestavit ze slov ..."
inline constexpr const char* kDataPrint = "editor.dataPrint";          // "Tisk a export ..."
inline constexpr const char* kDataIpuz = "editor.dataIpuz";            // "Načíst iPuz ..."

// The word-list window.
inline constexpr const char* kWordListWindow = "wordList.window";
inline constexpr const char* kWordListTajenka = "wordList.tajenka";
inline constexpr const char* kWordListPairs = "wordList.pairs";
inline constexpr const char* kWordListLoad = "wordList.load";  // "Načíst ze souboru ..."
inline constexpr const char* kWordListBuild = "wordList.build";
inline constexpr const char* kWordListBack = "wordList.back";

}  // namespace tervano::id
