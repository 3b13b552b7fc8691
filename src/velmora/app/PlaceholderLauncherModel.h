#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace velmora {

// Stands in for the launcher view model until it is plugged in: a list of names,
// filtered by the search text, so the window can be driven end to end.
class PlaceholderLauncherModel : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
public:
    enum Role { NameRole = Qt::UserRole + 1 };

    explicit PlaceholderLauncherModel(QObject *parent = nullptr);

    // Names of the desktop entries in the XDG application folders, sorted.
    [[nodiscard]] static QStringList installedApplicationNames();

    void setItems(QStringList names);
    [[nodiscard]] QString searchText() const { return m_searchText; }
    void setSearchText(const QString &text);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

signals:
    void searchTextChanged();

private:
    void refilter();

    QStringList m_all;
    QStringList m_shown;
    QString m_searchText;
};

} // namespace velmora
