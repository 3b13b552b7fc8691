#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace velmora {

class FolderManager;

// The Permissions tab's list: the folder manager's paths, one row each, in its order.
// The discovery service reads the list at start-up, so changes apply at the next start.
class FoldersSettingsModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
public:
    enum Role { PathRole = Qt::UserRole + 1, DisplayNameRole };
    Q_ENUM(Role)

    explicit FoldersSettingsModel(FolderManager &folderManager, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // False when the folder is already listed (nothing changes then) or is no local folder.
    Q_INVOKABLE bool addFolder(const QUrl &url);
    Q_INVOKABLE void removeFolder(int index);

    // Why the last addition was refused; empty after a change went through.
    [[nodiscard]] QString message() const { return m_message; }

    // The last path component ("/" for the root).
    [[nodiscard]] static QString displayName(const QString &path);

signals:
    void countChanged();
    void messageChanged();

private:
    void sync();
    void setMessage(const QString &message);

    FolderManager &m_folderManager;
    QStringList m_paths; // what the view was last told
    QString m_message;
};

} // namespace velmora
