#pragma once

#include "velmora/platform/LoginItem.h"

#include <QString>

namespace velmora {

// The rule behind every "Start at Login" switch: on registers the login item, off
// removes it. A refused change leaves the switch as it was and keeps the reason.
class StartAtLoginSwitch {
public:
    // Reads the login item's state now; the switch does not follow later outside changes.
    explicit StartAtLoginSwitch(LoginItem item);

    [[nodiscard]] bool isOn() const { return m_on; }
    // The reason of the last refused change; empty after a success.
    [[nodiscard]] const QString &errorString() const { return m_error; }
    [[nodiscard]] const LoginItem &loginItem() const { return m_item; }

    void set(bool on);
    // Reads the login item's state again (a view created anew).
    void reload();

private:
    LoginItem m_item;
    bool m_on = false;
    QString m_error;
};

} // namespace velmora
