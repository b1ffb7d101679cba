#pragma once

// Message texts shown by more than one part of the program.
namespace tervano::text {

inline constexpr const char* kUnsupportedSwitch =
    "Vámi zadaný parametr není podporován.\rPodporované parametry:\r"
    "-EDITOR        {pro editaci vlastních křížovek}\r"
    "-SADA          {pro výběr křížovkové sady}\r"
    "-SCRIPTEDITOR  {pro editaci skriptů ke křížovkám}\r"
    "-SPAUTOSAVE    {pro správu záznamů automatického uložení}\r"
    "-LOADAUTOSAVE  {pro načtení záznamu automatického uložení}";

inline constexpr const char* kSaveQuestion = "Chcete současnou hru uložit?";

inline constexpr const char* kCompleted =
    "Absolvoval jste luštění všech současných křízovek s bodovým úspěchem ";

}  // namespace tervano::text
