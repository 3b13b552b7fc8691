#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace velmora {

class Category;

// The header's popover editor: a live title with a whitespace rule, and the symbol picker
// over the catalogue's names. Title and icon are written into the record; the store's
// autosave persists them. One editor per opening. Main thread only.
class SectionTitleEditor final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString initialTitle READ initialTitle CONSTANT)
    Q_PROPERTY(QString localTitle READ localTitle WRITE setLocalTitle NOTIFY localTitleChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(QStringList filteredSymbols READ filteredSymbols NOTIFY searchTextChanged)
    Q_PROPERTY(QString systemIconName READ systemIconName NOTIFY systemIconNameChanged)
    // Index of the current icon in filteredSymbols; -1 when it is not listed.
    Q_PROPERTY(int selectedIndex READ selectedIndex NOTIFY selectedIndexChanged)

public:
    SectionTitleEditor(Category *category, QStringList allSymbols, QObject *parent = nullptr);

    [[nodiscard]] QString initialTitle() const { return m_initialTitle; }
    [[nodiscard]] QString localTitle() const { return m_localTitle; }
    // Writes the title through: the text as typed, or initialTitle for a blank text.
    void setLocalTitle(const QString &title);
    [[nodiscard]] QString searchText() const { return m_searchText; }
    void setSearchText(const QString &text);
    [[nodiscard]] QStringList filteredSymbols() const;
    [[nodiscard]] QString systemIconName() const;
    [[nodiscard]] int selectedIndex() const;

    Q_INVOKABLE void chooseSymbol(const QString &name);

signals:
    void localTitleChanged();
    void searchTextChanged();
    void systemIconNameChanged();
    void selectedIndexChanged();
    void categoryEdited();

private:
    Category *m_category;
    QStringList m_allSymbols;
    QString m_initialTitle;
    QString m_localTitle;
    QString m_searchText;
};

} // namespace velmora
