// A teacher's vocabulary from a spreadsheet (CSV/TSV) or from KDE's vocabulary trainers (KVTML)
// becomes the word-list window's pairs: every line of the file is either a pair or named with
// its reason, and nothing a file holds breaks the reading.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "editor/vocabulary.h"
#include "editor/word_list_file.h"
#include "editor_rig.h"

namespace tervano::editor {
namespace {

using testing::EditorRig;

std::string testFile(const std::string& name) {
  std::ifstream in(std::string(TERVANO_SOURCE_DIR) + "/tests/editor/vocabulary/" + name,
                   std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// "answer=clue@line, ... | line: reason, ..." for comparing a whole reading at once.
std::string shown(const WordPairs& p) {
  std::string s;
  for (const auto& w : p.pairs)
    s += (s.empty() ? "" : ", ") + w.answer + "=" + w.clue + "@" + std::to_string(w.line);
  s += " |";
  for (const auto& k : p.skipped)
    s += " " + std::to_string(k.line) + ": " + k.reason + ";";
  return s;
}

// The pairs with the columns the file tells, else the first column as the word.
std::string read(const std::string& bytes) {
  const Vocabulary v = readVocabulary(bytes);
  const std::size_t clue = v.clueColumn.value_or(v.answerColumn ? 1 - *v.answerColumn : 1);
  return shown(vocabularyPairs(v, clue == 0 ? 1 : 0, clue));
}

std::string error(const std::string& bytes) {
  try {
    readVocabulary(bytes);
  } catch (const VocabularyError& e) {
    return e.what();
  }
  return "";
}

template <std::size_t N>
std::string bytes(const char (&s)[N]) {
  return std::string(s, N - 1);
}

TEST(Vocabulary, TheEncodingIsUtf16ByItsMarkUtf8WhenValidElseCodePage1250) {
  const std::pair<std::string, const char*> cases[] = {
      {"kůň;horse\n", "UTF-8"},
      {"\xEF\xBB\xBFk\xC5\xAF\xC5\x88;horse\n", "UTF-8"},
      {"k\xF9\xF2;horse\r\n", "kódová stránka 1250"},
      {bytes("\xFF\xFEk\0o\x01H\x01;\0h\0o\0r\0s\0e\0"), "UTF-16"},
      {bytes("\xFE\xFF\0k\x01o\x01H\0;\0h\0o\0r\0s\0e"), "UTF-16"},
  };
  for (const auto& [bytes, encoding] : cases) {
    EXPECT_EQ(readVocabulary(bytes).encoding, encoding);
    EXPECT_EQ(read(bytes), "horse=kůň@1 |") << encoding;
  }
}

TEST(Vocabulary, TheSeparatorSplitsMostLinesAlikeAndQuotesHoldAnything) {
  struct Case {
    std::string text;
    const char* expected;
  };
  const Case cases[] = {
      {"cat,kočka\ndog,pes\n", "cat=kočka@1, dog=pes@2 |"},
      {"cat\tkočka, mourek\ndog\tpes\n", "cat=kočka, mourek@1, dog=pes@2 |"},
      // A comma in every clue: semicolons split the lines alike, commas too, and win the tie.
      {"cat;kočka, mourek\ndog;pes, hafan", "cat=kočka, mourek@1, dog=pes, hafan@2 |"},
      {"cat,\"kočka; mourek\"\ndog,pes\n", "cat=kočka; mourek@1, dog=pes@2 |"},
      // Doubled quotes, a line break inside a field: the next record keeps its own line.
      {"say,\"řekni \"\"ahoj\"\"\"\r\nbox,\"krabice\r\n(velká)\"\r\nend,konec\r\n",
       "say=řekni \"ahoj\"@1, box=krabice (velká)@2, end=konec@4 |"},
      // A quote inside a field is a character; one never closed spoils only its own line.
      {"inch,palec 1\"\nend,\"konec\nbye,sbohem\n",
       "inch=palec 1\"@1, bye=sbohem@3 | 2: uvozovky otevřené na tomto řádku se už nezavřou;"},
      // Without any separator each line splits as in the window.
      {"cat – kočka\ndog = pes\n", "cat=kočka@1, dog=pes@2 |"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(read(c.text), c.expected) << c.text;
}

TEST(Vocabulary, AHeaderOrTheCzechLettersTellTheColumns) {
  struct Case {
    std::string text;
    std::optional<std::size_t> clue, answer;
    bool byLetters;
    int headerLine;
  };
  const Case cases[] = {
      {"Angličtina;Čeština\ncat;kočka\n", 1, std::nullopt, false, 1},
      {"cs,en\nkočka,cat\n", 0, std::nullopt, false, 1},
      {"\nslovo\tnápověda:\ncat\tkočka\n", 1, 0, false, 2},
      {"Word;Poznámka;Nápověda\ncat;zvíře;kočka\n", 2, 0, false, 1},
      {"pondělí;Monday\nčervená;red\nmodrá;blue\n", 0, std::nullopt, true, 0},
      // Slovak against Czech: neither column clearly has more of the letters.
      {"pes;pes\nkôň;kůň\nčierny;černý\n", std::nullopt, std::nullopt, false, 0},
      {"cat,kočka\n", 1, std::nullopt, true, 0},
      {"cat,cats\n", std::nullopt, std::nullopt, false, 0},
  };
  for (const auto& c : cases) {
    const Vocabulary v = readCsv(c.text);
    EXPECT_EQ(v.clueColumn, c.clue) << c.text;
    EXPECT_EQ(v.answerColumn, c.answer) << c.text;
    EXPECT_EQ(v.clueByLetters, c.byLetters) << c.text;
    EXPECT_EQ(v.headerLine, c.headerLine) << c.text;
  }
  EXPECT_EQ(readCsv("Angličtina;Čeština\ncat;kočka\n").columns[1].name, "Čeština");
  EXPECT_TRUE(namesCzech("cs_CZ") && namesCzech("Česky:") && namesCzech("CZECH"));
  EXPECT_FALSE(namesCzech("cestovat") || namesCzech("en") || namesCzech("csv"));
}

TEST(Vocabulary, EveryUnusableLineIsNamedWithItsReason) {
  const std::string text =
      "cat;kočka\n"           // 1
      "\n"                    // 2 empty
      ";;\n"                  // 3 empty cells only
      "dog\n"                 // 4 one column only
      ";pes\n"                // 5 the word is missing... with one cell filled
      "ox;;vůl\n"             // 6 no clue in the clue column
      ";sova;x\n"             // 7 no word
      "ox;vůl 🐂\n"            // 8 outside code page 1250
      "ice cream;zmrzlina\n"  // 9 not a word
      "Straße;ulice";         // 10 last line without an end
  EXPECT_EQ(read(text),
            "cat=kočka@1, Straße=ulice@10 | 2: prázdný řádek; 3: prázdný řádek; 4: jen jeden "
            "sloupec; 5: jen jeden sloupec; 6: chybí nápověda (2. sloupec); 7: chybí slovo (1. "
            "sloupec); 8: znak „🐂“ nelze zapsat do souborů křížovky (kódová stránka 1250); 9: "
            "slovo „ice cream“ obsahuje znak „ “; slovo křížovky smí mít jen písmena;");
}

TEST(Vocabulary, EveryPairReadsBackFromTheWindowUnchanged) {
  const std::string text =
      "a,\"– pomlčka na začátku\"\n"
      "b,\"= rovná\tse \"\n"
      "c,\"dva\r\n\r\nřádky\"\n"
      "d,\"\xC2\xA0nezlomitelná mezera\x01\"\n";
  const Vocabulary v = readCsv(text);
  const WordPairs p = vocabularyPairs(v, 0, 1);
  ASSERT_EQ(p.pairs.size(), 4u);
  TextList window;
  for (const auto& w : p.pairs)
    window.append(wordListLine(w.answer, w.clue));
  const auto back = parseWordList(window);
  ASSERT_EQ(back.size(), p.pairs.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    EXPECT_EQ(back[i].answer, p.pairs[i].answer);
    EXPECT_EQ(back[i].clue, p.pairs[i].clue);
  }
  EXPECT_EQ(p.pairs[0].clue, "pomlčka na začátku");
  EXPECT_EQ(p.pairs[2].clue, "dva řádky");
}

TEST(Vocabulary, RealFilesReadAsTheirProgramsWriteThem) {
  // LibreOffice Calc: UTF-8 with its mark, semicolons, quoted fields with commas and breaks.
  EXPECT_EQ(read(testFile("calc.csv")),
            "Monday=pondělí@2, apple=jablko, ovoce@3, quote=řekl \"ahoj\"@4, window=okno (v "
            "domě)@5, Straße=ulice@8, tree=strom@10 | 7: prázdný řádek; 9: slovo „red, dark“ "
            "obsahuje znak „,“; slovo křížovky smí mít jen písmena;");
  // Code page 1250 from a Czech spreadsheet: Czech first, told by its letters.
  const Vocabulary cp = readVocabulary(testFile("cp1250.csv"));
  EXPECT_EQ(cp.encoding, "kódová stránka 1250");
  EXPECT_TRUE(cp.clueByLetters);
  EXPECT_EQ(read(testFile("cp1250.csv")),
            "Monday=pondělí@1, red=červená@2, yellow=žlutá@3, horse=kůň@4, table=stůl@6, "
            "price=cena v €@7 | 5: jen jeden sloupec;");
  // KWordQuiz: two identifiers, the Czech one by its locale.
  const Vocabulary quiz = readVocabulary(testFile("kwordquiz.kvtml"));
  EXPECT_EQ(quiz.format, VocabularyFormat::Kvtml);
  ASSERT_EQ(quiz.columns.size(), 2u);
  EXPECT_EQ(quiz.columns[0].name, "Angličtina");
  EXPECT_EQ(quiz.columns[1].locale, "cs");
  EXPECT_EQ(read(testFile("kwordquiz.kvtml")),
            "Monday=pondělí@20, grey=šedá & šedivá@28, yellow=žlutá@52 | 36: slovo „to go“ "
            "obsahuje znak „ “; slovo křížovky smí mít jen písmena; 44: slovíčko má jen jeden "
            "překlad;");
  // Parley: three identifiers, comments, grades and CDATA; translations in any order.
  const Vocabulary parley = readVocabulary(testFile("parley.kvtml"));
  ASSERT_EQ(parley.columns.size(), 3u);
  EXPECT_EQ(parley.clueColumn, 2u);
  EXPECT_EQ(shown(vocabularyPairs(parley, 0, 2)),
            "dog=pes@40, horse=kůň@62, fly=moucha@70, owl=sova <noční pták>@81 |");
  EXPECT_EQ(shown(vocabularyPairs(parley, 1, 2)),
            "Hund=pes@40, Fliege=moucha@70, Eule=sova <noční pták>@81 | 62: chybí slovo "
            "(„Deutsch“);");
}

TEST(Vocabulary, XmlThatIsNotKvtml2IsRefusedAndNothingInItIsExpanded) {
  const std::pair<std::string, const char*> refused[] = {
      {"<kvtml version=\"2.0\"><entries></kvtml>", "koncová značka nepatří k otevřenému prvku"},
      {"<?xml version=\"1.0\"?>\n\n<kvtml><identifiers", "na řádku 3"},
      {"<html><body/></html>", "nezačíná prvkem „kvtml“"},
      {"<kvtml><e><o>dog</o><t>pes</t></e></kvtml>", "starém formátu KVTML 1"},
      {"<kvtml version=\"2.0\"><entries/></kvtml>", "nemá jazyky nebo slovíčka"},
      {std::string(kMaxVocabularyBytes + 1, ' '), "příliš velký (4097 kB)"},
  };
  for (const auto& [bytes, message] : refused)
    EXPECT_NE(error(bytes).find(message), std::string::npos) << error(bytes);
  EXPECT_EQ(error(std::string(kMaxVocabularyBytes, ' ')), "");

  // A billion laughs and an external entity stay unexpanded references: no word, no file read.
  std::string doctype = "<!DOCTYPE kvtml [<!ENTITY l0 \"ha\"><!ENTITY x SYSTEM \"/etc/passwd\">";
  for (int i = 1; i < 10; ++i) {
    doctype += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k)
      doctype += "&l" + std::to_string(i - 1) + ";";  // ten references a level
    doctype += "\">";
  }
  const std::string bomb = doctype +
                           "]><kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/>"
                           "<identifier id=\"1\"/></identifiers><entries><entry id=\"0\">"
                           "<translation id=\"0\"><text>&l9;</text></translation>"
                           "<translation id=\"1\"><text>&x;</text></translation>"
                           "</entry></entries></kvtml>";
  EXPECT_EQ(read(bomb),
            " | 1: slovo „&l9;“ obsahuje znak „&“; slovo křížovky smí mít jen písmena;");
  // Nesting far deeper than any stack allows is only deep elements to the parser.
  std::string deep = "<kvtml version=\"2.0\"><identifiers/><entries>";
  for (int i = 0; i < 200000; ++i)
    deep += "<a>";
  EXPECT_NE(error(deep).find("KVTML"), std::string::npos);
}

TEST(Vocabulary, AColumnNotToldIsAskedForAndCancellingLoadsNothing) {
  struct Case {
    std::string text;
    std::vector<std::optional<std::size_t>> answers;
    std::optional<std::pair<std::size_t, std::size_t>> expected;  // answer, clue
    std::size_t questions;
  };
  const Case cases[] = {
      {"Angličtina;Čeština\ncat;kočka\n", {}, std::pair<std::size_t, std::size_t>{0, 1}, 0},
      {"slovo;x\ncat;kočka\n", {}, std::pair<std::size_t, std::size_t>{0, 1}, 0},
      {"cat;cats\n", {0}, std::pair<std::size_t, std::size_t>{1, 0}, 1},
      {"cat;cats\n", {std::nullopt}, std::nullopt, 1},
      {"a;b;c\n", {2, 1}, std::pair<std::size_t, std::size_t>{1, 2}, 2},
      {"a;b;c\n", {0, std::nullopt}, std::nullopt, 2},
  };
  for (const auto& c : cases) {
    testing::FakeHost host;
    for (const auto& a : c.answers)
      host.choice(a);
    const auto choice = chooseColumns(readCsv(c.text), host, "s.csv");
    EXPECT_EQ(host.only({"choose"}).size(), c.questions) << c.text;
    ASSERT_EQ(choice.has_value(), c.expected.has_value()) << c.text;
    if (choice) {
      EXPECT_EQ(std::make_pair(choice->answer, choice->clue), *c.expected) << c.text;
    }
  }
  // The question names the columns by their first values; the Czech one is offered first.
  testing::FakeHost host;
  chooseColumns(readVocabulary(testFile("parley.kvtml")), host, "zvirata.kvtml");
  ASSERT_EQ(host.only({"choose"}).size(), 2u);
  EXPECT_EQ(
      host.only({"choose"})[0],
      "choose: Počet jazyků (sloupců) v souboru: 3.\rVe kterém je česká nápověda? [1. sloupec "
      "„English (en)“, například „dog“ | 2. sloupec „Deutsch (de)“, například „Hund“ | "
      "3. sloupec „Čeština (cs)“, například „pes“] -> 3. sloupec „Čeština (cs)“, "
      "například „pes“");
  EXPECT_THROW(chooseColumns(readCsv("jen\njedno\n"), host, "s.csv"), VocabularyError);
}

TEST(Vocabulary, TheWindowLoadsAFileAndTheTeacherBuildsFromIt) {
  EditorRig rig;
  rig.a().click(id::kDataFromWords);
  rig.a().edit(id::kWordListTajenka, "ok");
  const std::string file = rig.dir.path("slovicka.csv");
  rig.dir.writeBytes("slovicka.csv", "x;x\n\nowl;sova\nkite;drak\n");
  rig.host.pick(file).choice(1);
  rig.a().click(id::kWordListLoad);
  const auto& dialog = rig.host.dialogs().back();
  ASSERT_EQ(dialog.filters.size(), 2u);
  EXPECT_EQ(dialog.filters[0].label, "Seznam slov");
  EXPECT_EQ(dialog.filters[1].patterns, std::vector<std::string>{"*.kvtml"});
  EXPECT_EQ(rig.c().lines(id::kWordListPairs), (TextList{"x – x", "owl – sova", "kite – drak"}));
  ASSERT_EQ(rig.host.only({"warning"}).size(), 1u);
  EXPECT_EQ(rig.host.only({"warning"})[0],
            "warning: Ze souboru „slovicka.csv“ načtena slova s nápovědou: 3.\r\rTyto řádky "
            "souboru nešlo použít (1):\rřádek 2: prázdný řádek");

  // A list in the window is replaced only when the teacher agrees; a file without a single
  // usable pair, or a question cancelled, leaves it.
  rig.a().edit(id::kWordListPairs, "owl – sova\nkite – drak");
  const TextList edited = rig.c().lines(id::kWordListPairs);
  rig.dir.writeBytes("prazdny.csv", "\n\n");
  rig.dir.writeBytes("jine.csv", "a;b\nc;d\n");
  rig.host.pick(file).choice(1).cancel();
  rig.host.pick(rig.dir.path("prazdny.csv"));
  rig.host.pick(rig.dir.path("jine.csv")).choice(std::nullopt);
  for (int i = 0; i < 3; ++i)
    rig.a().click(id::kWordListLoad);
  EXPECT_EQ(rig.c().lines(id::kWordListPairs), edited);
  EXPECT_EQ(rig.host.only({"error"}).size(), 1u);
  EXPECT_EQ(rig.host.pendingAnswers(), 0u);

  rig.a().click(id::kWordListBuild);
  EXPECT_EQ(rig.c().lines(id::kAnswerArea), (TextList{"o w l", "k i t e"}));
  EXPECT_EQ(rig.status(), "Neuložená");
}

TEST(Vocabulary, NoFileCanMakeMoreColumnsOrLongerNamesThanAQuestionShows) {
  std::string wide = "a";
  for (std::size_t i = 2; i <= kMaxColumns + 5; ++i)
    wide += ";" + std::to_string(i);
  const Vocabulary csv = readCsv(wide + "\nb;c\n");
  ASSERT_EQ(csv.columns.size(), kMaxColumns);
  EXPECT_EQ(csv.columns.back().sample, std::to_string(kMaxColumns));
  std::string xml = "<kvtml version=\"2.0\"><identifiers>";
  for (std::size_t i = 0; i <= kMaxColumns; ++i)
    xml += "<identifier id=\"" + std::to_string(i) + "\"><name>" + std::string(40, 'n') +
           "</name></identifier>";
  const Vocabulary kvtml = readKvtml(xml + "</identifiers><entries/></kvtml>");
  ASSERT_EQ(kvtml.columns.size(), kMaxColumns);
  EXPECT_EQ(kvtml.columns[0].name, std::string(30, 'n') + "…");
  // A reason quoting a long word is cut in the report.
  const WordPairs p = vocabularyPairs(readCsv(std::string(300, 'x') + "1;y\n"), 0, 1);
  const std::string report = skippedReport(p);
  EXPECT_LT(report.size(), 200u);
  EXPECT_EQ(report.substr(report.size() - 4), "x…");
}

TEST(Vocabulary, AReportListsTheFirstLinesAndCountsTheRest) {
  std::string text = "cat;kočka\n";
  for (int i = 0; i < 5000; ++i)
    text += "\n";
  const WordPairs p = vocabularyPairs(readCsv(text), 0, 1);
  EXPECT_EQ(p.skippedTotal, 5000u);
  EXPECT_EQ(p.skipped.size(), kMaxKeptSkipped);
  const std::string report = skippedReport(p);
  EXPECT_EQ(report.substr(0, report.find('\r')), "Tyto řádky souboru nešlo použít (5000):");
  EXPECT_NE(report.find("\rřádek 13: prázdný řádek\r… a 4988 dalších."), std::string::npos);
  EXPECT_EQ(report.find("řádek 14:"), std::string::npos);

  // The window takes the first pairs; the rest are named by where they start.
  testing::TempProgram dir;
  std::string many = "Angličtina;Čeština\n";
  for (std::size_t i = 0; i < kMaxWindowPairs + 3; ++i)
    many += "cat;kočka\n";
  dir.writeBytes("mnoho.csv", many);
  testing::FakeHost host;
  const auto loaded = loadWordListFile(dir.path("mnoho.csv"), host);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->lines.count(), static_cast<int>(kMaxWindowPairs));
  EXPECT_TRUE(loaded->leftOut);
  EXPECT_NE(loaded->report.find("od řádku 5002 (3) načtena nejsou"), std::string::npos);
}

}  // namespace
}  // namespace tervano::editor
