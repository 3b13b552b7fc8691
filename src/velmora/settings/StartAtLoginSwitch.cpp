#include "velmora/settings/StartAtLoginSwitch.h"

#include <QTextStream>

namespace velmora {

StartAtLoginSwitch::StartAtLoginSwitch(LoginItem item)
    : m_item(std::move(item))
    , m_on(m_item.isEnabled())
{
}

void StartAtLoginSwitch::set(bool on)
{
    if (on) {
        const LoginItemResult result = m_item.enable();
        if (!result.succeeded()) {
            m_error = result.errorString();
            // The reason goes to standard output as well, for whoever started us from a shell.
            QTextStream(stdout) << m_error << Qt::endl;
            return;
        }
        m_error.clear();
        m_on = true;
    } else {
        // An entry that could not be removed still starts us at login: the switch must
        // not claim otherwise, so it stays on and says why.
        const LoginItemResult result = m_item.disable();
        if (!result.succeeded() && m_item.isEnabled()) {
            m_error = result.errorString();
            QTextStream(stdout) << m_error << Qt::endl;
            return;
        }
        m_error.clear();
        m_on = false;
    }
}

void StartAtLoginSwitch::reload()
{
    m_on = m_item.isEnabled();
    m_error.clear();
}

} // namespace velmora
