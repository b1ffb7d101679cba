#pragma once

// Names of the controls of the window "Tisk a export křížovek", opened from the crossword
// editor's data panel. The view binds one widget to each; the logic reads and writes the model
// under the same names.
namespace tervano::id {

inline constexpr const char* kPrintWindow = "print.window";
// The scope: three radio buttons, exactly one checked.
inline constexpr const char* kPrintScopeCrossword = "print.scopeCrossword";  // "Tato křížovka"
inline constexpr const char* kPrintScopeGrade = "print.scopeGrade";          // "Celý ročník"
inline constexpr const char* kPrintScopeSet = "print.scopeSet";              // "Celá sada"
inline constexpr const char* kPrintKeys = "print.keys";                      // "S řešením"
// What the scope prints, what is odd about its crosswords, and how the last output went.
inline constexpr const char* kPrintSummary = "print.summary";
inline constexpr const char* kPrintWarnings = "print.warnings";
inline constexpr const char* kPrintStatus = "print.status";
inline constexpr const char* kPrintPrint = "print.print";      // "Tisknout ..."
inline constexpr const char* kPrintPreview = "print.preview";  // "Náhled ..."
inline constexpr const char* kPrintPdf = "print.pdf";          // "Uložit PDF ..."
inline constexpr const char* kPrintIpuz = "print.ipuz";        // "Uložit iPuz ..."
inline constexpr const char* kPrintBack = "print.back";        // "Zpět"

}  // namespace tervano::id
