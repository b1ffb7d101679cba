#pragma once

// Names of the controls of the play screen (the answer, map and legend areas, counters and
// scoring). The view binds one widget to each; the logic reads and writes the model under the same
// names.
namespace tervano::id {

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
// The captions of the four scoring values; in the editor they open their spin boxes.
inline constexpr const char* kScoreGoodCaption = "scoreGoodCaption";
inline constexpr const char* kScoreBadCaption = "scoreBadCaption";
inline constexpr const char* kScoreGoodTajenkaCaption = "scoreGoodTajenkaCaption";
inline constexpr const char* kScoreBadTajenkaCaption = "scoreBadTajenkaCaption";
inline constexpr const char* kCanGain = "canGain";
inline constexpr const char* kCanLose = "canLose";
inline constexpr const char* kAnswerArea = "answerArea";
inline constexpr const char* kLegendArea = "legendArea";
inline constexpr const char* kMapArea = "mapArea";
inline constexpr const char* kKontrola = "kontrola";
inline constexpr const char* kShowMenu = "showMenu";            // "Hlavní nabídka"
inline constexpr const char* kProgressGroup = "progressGroup";  // "Jak daleko již jste ..."
inline constexpr const char* kGaugeGrades = "gaugeGrades";
inline constexpr const char* kGaugeCrosswords = "gaugeCrosswords";
inline constexpr const char* kAccessCode = "accessCode";
inline constexpr const char* kBackground = "background";

}  // namespace tervano::id
