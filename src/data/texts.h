#pragma once

// Message texts shown by more than one part of the program.
namespace tervano::text {

inline constexpr const char* kSaveQuestion = "Chcete současnou hru uložit?";

// Followed by the points and kCompletedEnd.
inline constexpr const char* kCompleted =
    "Absolvoval jste luštění všech současných křízovek s bodovým úspěchem ";
inline constexpr const char* kCompletedEnd = " bodů.Za Vaši hru Vám děkuji.";

inline constexpr const char* kAllRight = "Vše jste měl bez chyby.";
inline constexpr const char* kSomewhereWrong = "Někde jste měl chybu.";
inline constexpr const char* kSetSwitched = "Sada byla úspěšně přehozena.";
inline constexpr const char* kFailed = "Došlo k chybě a funkce selhala.";
inline constexpr const char* kDataUnsaved =
    "Data nejsou uložena.\rStisknutím tlačítka Uložit data uložíte.";
// The chooser's answer to a grade or crossword it cannot use.
inline constexpr const char* kPositionIncomplete = "Údaj o ročníku a křížovce musí být vyplněn.";
inline constexpr const char* kSaveChangesQuestion = "Chcete uložit změny v současné křížovce?";
inline constexpr const char* kAssignScript =
    "Tento druh scriptu musí\rbýt přiřazen k určité křížovce.\rJděte do nabídky skript a "
    "zvolte\ruložit, přiřaďte ke scriptu určitou\rkřížovku a potvrďte operaci\rtlačítkem "
    "potvrdit.";
inline constexpr const char* kShowAnswersQuestion =
    "Přejete si v chybových hlášeních\rzobrazit kromě řádku na kterém se\rchyba udála špatné a "
    "správné odpovědi?";

}  // namespace tervano::text
