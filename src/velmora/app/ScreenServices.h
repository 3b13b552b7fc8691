#pragma once

#include <QString>

namespace velmora {

// The desktop services the launcher screen's menus use.
namespace ScreenServices {

// Puts `text` on the clipboard as plain text.
void copyToClipboard(const QString &text);
// Shows the file in the file manager (org.freedesktop.FileManager1.ShowItems), or opens
// its folder when no file manager answers on the session bus.
void reveal(const QString &path);
// Opens a feedback mail in the desktop's mail program (xdg-email), addressed to the
// defaults key "feedback.address" when it is set.
void sendFeedback();

} // namespace ScreenServices

} // namespace velmora
