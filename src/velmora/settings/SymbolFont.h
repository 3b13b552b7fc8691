#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace velmora {

// The symbol names the screens use ("gearshape", "folder.fill", ...) drawn as glyphs of
// the Material Icons font that Debian ships (fonts-material-design-icons-iconfont).
class SymbolFont : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString family READ family CONSTANT)
public:
    explicit SymbolFont(QObject *parent = nullptr);

    // The glyph for a symbol name; an empty string for a name the table lacks.
    [[nodiscard]] Q_INVOKABLE static QString glyph(const QString &symbolName);
    [[nodiscard]] static QString family();
};

} // namespace velmora
