#include "velmora/launcher/SectionTitleEditor.h"

#include "velmora/library/Category.h"

namespace velmora {

SectionTitleEditor::SectionTitleEditor(Category *category, QStringList allSymbols, QObject *parent)
    : QObject(parent)
    , m_category(category)
    , m_allSymbols(std::move(allSymbols))
{
    // Opening writes nothing: only what the user types reaches the record.
    m_initialTitle = m_category->title().isEmpty() ? tr("Untitled") : m_category->title();
    m_localTitle = m_initialTitle;
}

void SectionTitleEditor::setLocalTitle(const QString &title)
{
    if (m_localTitle == title)
        return;
    m_localTitle = title;
    emit localTitleChanged();
    m_category->setTitle(title.trimmed().isEmpty() ? m_initialTitle : title);
    emit categoryEdited();
}

void SectionTitleEditor::setSearchText(const QString &text)
{
    if (m_searchText == text)
        return;
    m_searchText = text;
    emit searchTextChanged();
    emit selectedIndexChanged();
}

QStringList SectionTitleEditor::filteredSymbols() const
{
    if (m_searchText.trimmed().isEmpty())
        return m_allSymbols;
    QStringList matches;
    for (const QString &name : m_allSymbols)
        if (name.contains(m_searchText, Qt::CaseSensitive))
            matches.append(name);
    return matches;
}

QString SectionTitleEditor::systemIconName() const
{
    return m_category->systemIconName();
}

int SectionTitleEditor::selectedIndex() const
{
    return int(filteredSymbols().indexOf(m_category->systemIconName()));
}

void SectionTitleEditor::chooseSymbol(const QString &name)
{
    if (m_category->systemIconName() == name)
        return;
    m_category->setSystemIconName(name);
    emit systemIconNameChanged();
    emit selectedIndexChanged();
    emit categoryEdited();
}

} // namespace velmora
