#include "app/helptexts.h"

#include "data/cp1250.h"

#include <string>
#include <string_view>

namespace tervano::app {

namespace {

constexpr int kKeyListWidth = 36;

// An entry of the key list: the name, dots, and the key at the right margin.
std::string keyEntry(std::string_view name, std::string_view key) {
  std::string line(name);
  const std::size_t used = cp1250::codePoints(name).size() + key.size();
  line.append(used < kKeyListWidth ? kKeyListWidth - used : 0, '.');
  line += key;
  return line;
}

}  // namespace

TextList adviceText() {
  return {"Jakým stylem máte psát?",
          "- Pište vždy malými písmeny",
          "- Pište tak, že napíšete písmeno a za ním mezeru(když je",
          "  to poslední v řádku, tak to nedělejte)",
          "- V případě, že máte další linku blíže k tajence, tak napište místo",
          "  písmena dvakrát mezeru tak dlouho,aby vám tajenka dávala smysl",
          "- V případě, že je v tajence řádek bez zadaného slova stiskněte pouze",
          "  klávesu Enter",
          "- Písmeno ch pište, jako kdyby znamenalo 2 písmena(ch=x x)",
          std::string(61, '_'),
          "",
          "To ale již v této verzi není nutné, doplňujte místo x to co si myslíte, že je ",
          "správné."};
}

TextList keyListText() {
  const std::string rule(kKeyListWidth, '_');
  return {rule,
          "             Nastavení",
          rule,
          keyEntry("Zvuk", "Shift+F1"),
          keyEntry("Hudba", "Shift+F2"),
          rule,
          rule,
          "               Pomoc",
          rule,
          keyEntry("Nápověda", "F1"),
          keyEntry("O aplikaci", "F2"),
          keyEntry("Credits", "F3"),
          rule,
          rule,
          "             Nabídka hra",
          rule,
          keyEntry("Nová hra", "Ctrl+F1"),
          keyEntry("Nová hra s nastavením", "Ctrl+F2"),
          keyEntry("Načti", "Ctrl+F3"),
          keyEntry("Ulož", "Ctrl+F4"),
          keyEntry("Návrat", "Ctrl+F5"),
          keyEntry("Ukončení hry", "Ctrl+F6"),
          rule,
          rule,
          "              Program",
          rule,
          keyEntry("Hlavní nabídka", "F7"),
          keyEntry("Ukončení programu", "F12")};
}

TextList licenceText() {
  return {"LICENČNÍ UJEDNÁNÍ",
          "",
          "Tervano je svobodný software s otevřeným zdrojovým kódem.",
          "Vydává jej Tým Tervano pod licencí MIT (Expat).",
          "",
          "Co smíte:",
          "- program zdarma používat k jakémukoli účelu, doma,",
          "  ve škole i v práci;",
          "- program kopírovat a dávat dalším lidem;",
          "- upravovat jeho zdrojový kód a šířit upravené verze;",
          "- začlenit program nebo jeho části do jiného díla,",
          "  i placeného, a prodávat kopie.",
          "",
          "Jediná podmínka:",
          "Ke každé kopii programu nebo jeho podstatné části musí",
          "být přiloženo upozornění na autorská práva",
          "(Copyright (c) Tým Tervano) a tento text licence.",
          "",
          "Křížovky, zvuky, hudba a obrázky dodané s programem",
          "jsou vydány za stejných podmínek jako program sám.",
          "Vlastní křížovky a skripty, které si vytvoříte,",
          "patří vám a můžete s nimi naložit podle svého.",
          "",
          "Bez záruky:",
          "Program se poskytuje tak, jak je, bez jakékoli záruky,",
          "výslovné i předpokládané, včetně záruky prodejnosti,",
          "vhodnosti pro určitý účel a neporušení práv třetích",
          "osob. Autoři ani držitelé autorských práv neodpovídají",
          "za žádné nároky, škody ani jinou odpovědnost, ať už",
          "vzniknou ze smlouvy, z deliktu nebo jinak, v souvislosti",
          "s programem, jeho používáním nebo jiným nakládáním",
          "s ním.",
          "",
          "Soukromí:",
          "Program nic neodesílá po síti a nesbírá o vás žádné",
          "údaje. Uložené hry, skripty a záznamy automatického",
          "uložení zůstávají ve složce programu ve vašem počítači.",
          "",
          "Úplné znění licence v angličtině najdete v souboru",
          "LICENSE, který je součástí zdrojového kódu programu.",
          "V případě rozporu platí anglické znění.",
          "",
          "Používáním programu vyjadřujete souhlas s touto",
          "licencí. Přejeme vám mnoho radosti při luštění!",
          "                                        Tým Tervano"};
}

TextList exampleMap() {
  return {"x x x x x x", "  x x x x", "  x x x x"};
}
TextList exampleLegend() {
  return {"Pondělí", "Dlouhý", "Panenka"};
}
TextList exampleAnswers() {
  return {"m o n d a y", "  l o n g", "  d o l l"};
}

TextList exampleKeys() {
  TextList keys{"Stisknuty byly tyto klávesy:", "", ""};
  const char* answers[] = {"monday", "long", "doll"};
  for (int row = 0; row < 3; ++row) {
    if (row > 0) keys.append("");
    keys.append(std::to_string(row + 1) + ".řádek:");
    keys.append("");
    const std::string word = answers[row];
    if (row > 0) {
      keys.append("Mezerník");
      keys.append("Mezerník");
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
      keys.append(std::string(1, word[i]));
      if (i + 1 < word.size()) keys.append("Mezerník");
    }
    if (row < 2) keys.append("Enter");
  }
  return keys;
}

}  // namespace tervano::app
