// The download-failure dialog: tells the user the download failed and offers to download again,
// to download with the web browser instead, or to close.
#pragma once

namespace qv {

// Answers of ShowInfo.
inline constexpr int kInfoAnswerClose = 0;    // close button, and every other way the dialog ends
inline constexpr int kInfoAnswerBrowser = 1;  // download the package with the web browser
inline constexpr int kInfoAnswerReload = 2;   // download again

// Shows the dialog modally and returns the user's answer.
int ShowInfo();

}  // namespace qv
