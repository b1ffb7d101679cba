#pragma once

// The messages of the set manager.
namespace tervano::sets::text {

inline constexpr const char* kNoSets =
    "Nejsou nainstalovány žádné sady.\rHra již nebude fungovat!!";
inline constexpr const char* kChooseSet = "Musíte zadat sadu.";
inline constexpr const char* kAlreadyInstalled =
    "Tato křížovková sada byla již nainstalována.\r\rJedná se o sadu:\r\rTervano";
inline constexpr const char* kFileInUse = "Tento soubor je již aplikací používán.";
inline constexpr const char* kInsufficient =
    "Tento soubor je nedostatečný\rpro zahájení instalačního procesu.";
inline constexpr const char* kInstalled = "Tato křížovková sada byla úspěšně nainstalována.";
inline constexpr const char* kWillEnd =
    "Program bude pro jistotu ukončen. Pro kontrolu program znovu spusťte.";
inline constexpr const char* kInstallTitle = "Instalace sady";
inline constexpr const char* kInstallFilter = "Soubor pro instalaci sady";
inline constexpr const char* kExists = "Tato křížovková sada již existuje.";
inline constexpr const char* kMakersSet = "Sady dodávané výrobcem není možno přejmenovávat!";
inline constexpr const char* kCreated =
    "Vytvoření sady proběhlo úspěšně,\rprogram však bude pro kontrolu\rukončen. Po jeho "
    "ukončení jej spusťte.";
inline constexpr const char* kDeleteQuestion = "Chcete skutečně tuto sadu zrušit?";
inline constexpr const char* kDeleteMakersQuestion = "Chcete skutečně smazat sadu od výrobce?";
inline constexpr const char* kNotDeleted = "Sadu se nepodařilo z nějakého důvodu smazat.";
// The six confirmations are the questions of the deletion script's "erase *.*" lines.
inline constexpr const char* kDeleteMessage =
    "Nyní již jen šestkrát kliknete na \"a\" a \"enter\" a sada bude zrušena.";

// Ours: what the documented commands left unsaid.
inline constexpr const char* kRenameHigher =
    "Uložené hry této sady nesou číslo sady jako svou verzi.\rPo přejmenování na vyšší číslo "
    "nabídne jejich načtení opravu,\rkterá hru vrátí na první křížovku prvního ročníku.\r"
    "Chcete sadu přejmenovat?";
inline constexpr const char* kRenameLower =
    "Uložené hry této sady nesou číslo sady jako svou verzi.\rPo přejmenování na nižší číslo "
    "je program odmítne načíst.\rChcete sadu přejmenovat?";
inline constexpr const char* kBusy =
    "Program ještě pracuje se sadou.\rPočkejte prosím, až práci dokončí.";
inline constexpr const char* kOneScriptPerRun =
    "V tomto spuštění programu již byla jedna sada instalována nebo vytvořena.\r"
    "Další můžete přidat po novém spuštění programu.";
inline constexpr const char* kNoActiveSet = "Žádná sada není aktivní. Vyberte ji v seznamu sad.";
inline constexpr const char* kAlreadyActive = " je již aktivní.";  // after the set name
// The deletion script's question before "erase *.*", after the folder; answered "a" or "n".
inline constexpr const char* kEraseQuestion =
    "\rOpravdu smazat všechny soubory v této složce? (A/N)";
inline constexpr const char* kDeleted = "Sada byla smazána.";
// The user answered "n": the set stays, less what was erased.
inline constexpr const char* kKeptFolders =
    "Soubory v těchto složkách jste si přál(a) ponechat, proto zůstaly:";
inline constexpr const char* kKeptSet =
    "\rSada proto nebyla zrušena: zůstává v seznamu sad a je opět aktivní. Smazané soubory se "
    "nevrátily.";
inline constexpr const char* kSetRoot = "hlavní složka sady";
inline constexpr const char* kSetFolderIsLink =
    "“ je jen odkazem na jinou složku. Sada se v ní nemaže, aby se nesmazalo nic mimo složku "
    "programu; nic se nezměnilo.";
inline constexpr const char* kMediumIsLink =
    "“ je jen odkazem na jinou složku. Z odkazu se neinstaluje; vyberte soubor Tervano.ini "
    "přímo ve složce média. Nic se nezměnilo.";
inline constexpr const char* kSkipped =
    "Tyto položky média nejsou obyčejnými soubory ani složkami (jsou to například odkazy), proto "
    "nebyly zkopírovány:";
inline constexpr const char* kIncompleteCopy = "Kopie sady není úplná, chybí v ní: ";

}  // namespace tervano::sets::text
