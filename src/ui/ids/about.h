#pragma once

// Names of the controls of the about window. The view binds one widget to each; the logic reads and
// writes the model under the same names.
namespace tervano::id {

inline constexpr const char* kAboutWindow = "aboutWindow";
inline constexpr const char* kAboutPackage = "about.package";
inline constexpr const char* kAboutAuthor = "about.author";
inline constexpr const char* kAboutEula = "about.eula";
inline constexpr const char* kAboutCredits = "about.credits";
inline constexpr const char* kAboutBack = "about.back";

}  // namespace tervano::id
