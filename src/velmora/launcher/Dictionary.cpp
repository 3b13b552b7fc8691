#include "velmora/launcher/Dictionary.h"

#include "kestrelkit/Logger.h"

#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QStringList>

#include <array>
#include <cstring>
#include <vector>

extern "C" {
#include <wn.h>
}

namespace velmora {

namespace {

// WordNet copies the term into fixed buffers of a few hundred bytes; its longest
// entries are well below this, so a longer term can only be a miss or an overflow.
constexpr qsizetype kMaxTermBytes = 100;

QMutex &wordNetMutex()
{
    static QMutex mutex;
    return mutex;
}

const kestrelkit::Logger &logger()
{
    static const kestrelkit::Logger log(QString::fromLatin1(kestrelkit::kBundleIdentifier),
                                        QStringLiteral("Dictionary"));
    return log;
}

// Caller holds the mutex.
bool openDatabase()
{
    static const bool opened = [] {
        const bool ok = wninit() == 0;
        if (!ok)
            logger().error(QStringLiteral("WordNet database not found; no definitions"));
        return ok;
    }();
    return opened;
}

struct PartOfSpeech {
    int number;
    const char *name;
};

constexpr std::array<PartOfSpeech, 4> kPartsOfSpeech = {{
    {NOUN, "noun"},
    {VERB, "verb"},
    {ADJ, "adjective"},
    {ADV, "adverb"},
}};

// WordNet's overview: a header line, a blank line, then "N. (count) words -- (gloss)".
// Keep the numbered senses, without the usage counts.
QStringList senseLines(const char *overview)
{
    static const QRegularExpression sense(QStringLiteral(R"(^(\d+)\.\s+(?:\(\d+\)\s+)?(.*)$)"));
    QStringList lines;
    const QStringList raw = QString::fromUtf8(overview).split(u'\n');
    for (const QString &line : raw) {
        const QRegularExpressionMatch m = sense.match(line.trimmed());
        if (m.hasMatch())
            lines.append(m.captured(1) + QStringLiteral(". ") + m.captured(2));
    }
    return lines;
}

// Caller holds the mutex. WordNet lower-cases its argument in place, so it gets a copy.
QStringList lookUp(const QByteArray &word, int partOfSpeech)
{
    std::vector<char> buffer(word.begin(), word.end());
    buffer.push_back('\0');
    const char *found = findtheinfo(buffer.data(), partOfSpeech, OVERVIEW, ALLSENSES);
    return found ? senseLines(found) : QStringList{};
}

// Caller holds the mutex. The base forms WordNet knows for an inflected word ("ran" → "run").
QList<QByteArray> baseForms(const QByteArray &word, int partOfSpeech)
{
    QList<QByteArray> forms;
    std::vector<char> buffer(word.begin(), word.end());
    buffer.push_back('\0');
    for (const char *form = morphstr(buffer.data(), partOfSpeech); form != nullptr;
         form = morphstr(nullptr, partOfSpeech)) {
        if (!forms.contains(form) && word != form)
            forms.append(QByteArray(form));
    }
    return forms;
}

bool isSuitable(const QByteArray &word)
{
    if (word.isEmpty() || word.size() > kMaxTermBytes)
        return false;
    for (char c : word) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;
    }
    return true;
}

} // namespace

bool Dictionary::isAvailable()
{
    QMutexLocker lock(&wordNetMutex());
    return openDatabase();
}

std::optional<QString> Dictionary::definition(const QString &term)
{
    // WordNet joins the words of a collocation with "_" ("ice_cream").
    const QByteArray word = term.trimmed().toLower().replace(u' ', u'_').toUtf8();
    if (!isSuitable(word))
        return std::nullopt;

    QMutexLocker lock(&wordNetMutex());
    if (!openDatabase())
        return std::nullopt;
    QStringList paragraphs;
    for (const PartOfSpeech &pos : kPartsOfSpeech) {
        QStringList senses = lookUp(word, pos.number);
        if (senses.isEmpty()) {
            for (const QByteArray &form : baseForms(word, pos.number)) {
                senses = lookUp(form, pos.number);
                if (!senses.isEmpty())
                    break;
            }
        }
        if (!senses.isEmpty())
            paragraphs.append(QString::fromLatin1(pos.name) + u'\n' + senses.join(u'\n'));
    }
    if (paragraphs.isEmpty())
        return std::nullopt;
    return paragraphs.join(u'\n');
}

} // namespace velmora
