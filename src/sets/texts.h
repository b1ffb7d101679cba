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

// Ours: what the documented commands left unsaid.
inline constexpr const char* kBusy =
    "Program ještě pracuje se sadou.\rPočkejte prosím, až práci dokončí.";
inline constexpr const char* kOneScriptPerRun =
    "V tomto spuštění programu již byla jedna sada instalována nebo vytvořena.\r"
    "Další můžete přidat po novém spuštění programu.";
inline constexpr const char* kNoActiveSet = "Žádná sada není aktivní. Vyberte ji v seznamu sad.";

}  // namespace tervano::sets::text
