#pragma once

#include <QAbstractListModel>
#include <QSize>
#include <QtQml/qqmlregistration.h>

namespace velmora {

// The settings window's three tabs and which one shows. The window takes the selected
// tab's preferred content size. "showPreferencePermissions" and "showPreferenceAbout"
// select tabs 1 and 2 for as long as the controller lives.
class SettingsTabController : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentIndexChanged)
    Q_PROPERTY(int preferredWidth READ preferredWidth NOTIFY currentIndexChanged)
    Q_PROPERTY(int preferredHeight READ preferredHeight NOTIFY currentIndexChanged)
    Q_PROPERTY(int count READ count CONSTANT)
public:
    enum Role { TitleRole = Qt::UserRole + 1, SymbolRole, PreferredWidthRole, PreferredHeightRole };
    Q_ENUM(Role)
    enum Tab { General = 0, Permissions = 1, About = 2 };
    Q_ENUM(Tab)

    explicit SettingsTabController(QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] int count() const { return 3; }
    [[nodiscard]] int currentIndex() const { return m_current; }
    // Out-of-range indexes are ignored.
    void setCurrentIndex(int index);
    [[nodiscard]] QSize preferredSize(int index) const;
    [[nodiscard]] int preferredWidth() const { return preferredSize(m_current).width(); }
    [[nodiscard]] int preferredHeight() const { return preferredSize(m_current).height(); }
    [[nodiscard]] QString title(int index) const;
    [[nodiscard]] QString symbol(int index) const;

signals:
    void currentIndexChanged();

private:
    int m_current = General;
};

} // namespace velmora
