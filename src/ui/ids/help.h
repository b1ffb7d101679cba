#pragma once

// Names of the controls of the help window. The view binds one widget to each; the logic reads and
// writes the model under the same names.
namespace tervano::id {

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

}  // namespace tervano::id
