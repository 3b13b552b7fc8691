#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace kestrelkit {

// The symbol catalogue: the Material Icons font's names and codepoints, read at run time
// from the font package's map, plus an alias table from the symbol names the app stores
// ("pin.fill", "folder", ...) to catalogue names. Thread-safe after construction.
class SFSymbols {
public:
    // The package's name→codepoint map (scss) and the font file.
    static constexpr const char *kDefaultMapFile =
        "/usr/share/fonts-material-design-icons-iconfont/scss/_variables.scss";
    static constexpr const char *kDefaultFontFile =
        "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf";
    // Drawn for a name neither the catalogue nor the alias table knows.
    static constexpr char16_t kPlaceholderCodepoint = 0xe8fd; // help_outline

    // Reads `mapFile`; an unreadable file gives an empty catalogue.
    explicit SFSymbols(const QString &mapFile);

    // The process's catalogue, read once from the default map file.
    static const SFSymbols &shared();
    // Every catalogue name, ascending; empty when the map could not be read.
    static const QStringList &allSymbols() { return shared().names(); }

    [[nodiscard]] const QStringList &names() const { return m_names; }
    [[nodiscard]] bool isEmpty() const { return m_names.isEmpty(); }
    // The catalogue name a stored symbol name draws as: itself when the catalogue has it,
    // else its alias; empty when neither is known.
    [[nodiscard]] QString resolve(const QString &name) const;
    // The glyph (one character of the font) for `name`; the placeholder for unknown names.
    [[nodiscard]] QString glyph(const QString &name) const;

    // The alias table (stored symbol name → catalogue name).
    [[nodiscard]] static const QHash<QString, QString> &aliases();

private:
    QStringList m_names;
    QHash<QString, char32_t> m_codepoints;
};

} // namespace kestrelkit
