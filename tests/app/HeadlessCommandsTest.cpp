// The headless commands end to end: the built `velmora` binary against a fixture XDG tree.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

} // namespace

class HeadlessCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void listInLauncherOrder();
    void listIsStableAcrossRuns();
    void search_data();
    void search();
    void calc_data();
    void calc();
    void launchUnknownPath();
    void usageErrors_data();
    void usageErrors();

private:
    Run velmora(const QStringList &arguments);
    void writeEntry(const QString &id, const QString &name, const QString &categories);
    QJsonObject listJson();

    QTemporaryDir m_dir;
};

void HeadlessCommandsTest::writeEntry(const QString &id, const QString &name, const QString &categories)
{
    QFile file(m_dir.filePath(QStringLiteral("data/applications/") + id + QStringLiteral(".desktop")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=/bin/true\nCategories=%2\n")
                   .arg(name, categories)
                   .toUtf8());
}

void HeadlessCommandsTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(!qEnvironmentVariableIsEmpty("VELMORA_BINARY"));
    for (const char *folder : {"data/applications", "home", "config", "system"})
        QVERIFY(QDir(m_dir.path()).mkpath(QString::fromLatin1(folder)));
    writeEntry(QStringLiteral("org.test.Chess"), QStringLiteral("Chess"), QStringLiteral("Game;BoardGame;"));
    writeEntry(QStringLiteral("org.test.Checkers"), QStringLiteral("Checkers"), QStringLiteral("Game;BoardGame;"));
    writeEntry(QStringLiteral("org.test.Editor"), QStringLiteral("Editor"), QStringLiteral("Development;IDE;"));
    writeEntry(QStringLiteral("org.test.Loose"), QStringLiteral("Loose Ends"), QString());
    writeEntry(QStringLiteral("org.test.Secret"), QStringLiteral("Secret"), QStringLiteral("Utility;"));
    QFile hiddenEntry(m_dir.filePath(QStringLiteral("data/applications/org.test.NoDisplay.desktop")));
    QVERIFY(hiddenEntry.open(QIODevice::WriteOnly));
    hiddenEntry.write("[Desktop Entry]\nType=Application\nName=Ghost\nExec=/bin/true\nNoDisplay=true\n");
}

Run HeadlessCommandsTest::velmora(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), m_dir.filePath(QStringLiteral("system")));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("VELMORA_BINARY"), arguments);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QJsonObject HeadlessCommandsTest::listJson()
{
    const Run run = velmora({QStringLiteral("list"), QStringLiteral("--json")});
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    if (run.status != 0 || error.error != QJsonParseError::NoError)
        qWarning() << run.status << run.out << run.err;
    return document.object();
}

void HeadlessCommandsTest::listInLauncherOrder()
{
    const QJsonArray categories = listJson().value(QStringLiteral("categories")).toArray();
    QStringList titles;
    QStringList apps;
    for (const QJsonValue &value : categories) {
        const QJsonObject category = value.toObject();
        titles.append(category.value(QStringLiteral("title")).toString());
        for (const QJsonValue &app : category.value(QStringLiteral("apps")).toArray())
            apps.append(app.toObject().value(QStringLiteral("displayName")).toString());
    }
    // New categories in order of first appearance (discovery sorts by name), Not Categorized last.
    QCOMPARE(titles, (QStringList{"Board Games", "Developer Tools", "Utilities", "Not Categorized"}));
    QCOMPARE(apps, (QStringList{"Checkers", "Chess", "Editor", "Secret", "Loose Ends"}));

    const QJsonObject last = categories.last().toObject();
    QCOMPARE(last.value(QStringLiteral("reservedType")).toString(), QStringLiteral("notCategorized"));
    QCOMPARE(last.value(QStringLiteral("sortOrder")).toInteger(), Q_INT64_C(9223372036854775806));
    QCOMPARE(last.value(QStringLiteral("systemIconName")).toString(), QStringLiteral("ellipsis"));
    const QJsonObject first = categories.first().toObject();
    QVERIFY(first.value(QStringLiteral("reservedType")).isNull());
    QCOMPARE(first.value(QStringLiteral("sortOrder")).toInteger(), 1);
    const QJsonObject chess = first.value(QStringLiteral("apps")).toArray().at(1).toObject();
    QCOMPARE(chess.value(QStringLiteral("path")).toString(),
             m_dir.filePath(QStringLiteral("data/applications/org.test.Chess.desktop")));
    QCOMPARE(chess.value(QStringLiteral("bundleID")).toString(), QStringLiteral("org.test.Chess.desktop"));

    const Run human = velmora({QStringLiteral("list")});
    QCOMPARE(human.status, 0);
    const QStringList lines = QString::fromUtf8(human.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.first(), QStringLiteral("Board Games"));
    // Columns line up: the bundle identifiers of one category start at the same place.
    QCOMPARE(lines.at(1).indexOf(QLatin1String("org.test.")), lines.at(2).indexOf(QLatin1String("org.test.")));
    QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("data/Velmora/Velmora.sqlite"))));
}

void HeadlessCommandsTest::listIsStableAcrossRuns()
{
    const QJsonObject first = listJson();
    QCOMPARE(listJson(), first);
}

void HeadlessCommandsTest::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QJsonValue>("calculator"); // QJsonValue(): null

    QTest::newRow("prefix before inner match") << "che" << QStringList{"Checkers", "Chess"} << QJsonValue();
    QTest::newRow("category of the result") << "edit" << QStringList{"Editor"} << QJsonValue();
    QTest::newRow("arithmetic") << "2+3" << QStringList{} << QJsonValue(QStringLiteral("5"));
    QTest::newRow("plain number has no card") << "5" << QStringList{} << QJsonValue();
}

void HeadlessCommandsTest::search()
{
    QFETCH(QString, text);
    QFETCH(QStringList, results);
    QFETCH(QJsonValue, calculator);
    const Run run = velmora({QStringLiteral("search"), text, QStringLiteral("--json")});
    QCOMPARE(run.status, 0);
    const QJsonObject answer = QJsonDocument::fromJson(run.out).object();
    QStringList names;
    for (const QJsonValue &value : answer.value(QStringLiteral("results")).toArray())
        names.append(value.toObject().value(QStringLiteral("displayName")).toString());
    QCOMPARE(names, results);
    QCOMPARE(answer.value(QStringLiteral("calculator")), calculator); // null: no card
    QVERIFY(answer.contains(QStringLiteral("dictionary")));
    if (text == QLatin1String("edit"))
        QCOMPARE(answer.value(QStringLiteral("results")).toArray().first().toObject().value(QStringLiteral("category")).toString(),
                 QStringLiteral("Developer Tools"));

    const Run human = velmora({QStringLiteral("search"), text});
    QCOMPARE(human.status, 0);
    if (results.isEmpty())
        QVERIFY(human.out.startsWith("No Results for \"" + text.toUtf8() + "\""));
    else
        QVERIFY(human.out.startsWith(results.first().toUtf8()));
}

void HeadlessCommandsTest::calc_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");

    QTest::newRow("sum") << "2+3" << 0 << QByteArray("5\n");
    QTest::newRow("half") << "1/2" << 0 << QByteArray("0.5\n");
    QTest::newRow("not an expression") << "hello" << 1 << QByteArray();
}

void HeadlessCommandsTest::calc()
{
    QFETCH(QString, expression);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    const Run run = velmora({QStringLiteral("calc"), expression});
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, out);
}

void HeadlessCommandsTest::launchUnknownPath()
{
    const Run run = velmora({QStringLiteral("launch"), m_dir.filePath(QStringLiteral("nowhere.desktop"))});
    QCOMPARE(run.status, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.contains("no application at"));
}

void HeadlessCommandsTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("search without text") << QStringList{"search"};
    QTest::newRow("list with a stray word") << QStringList{"list", "extra"};
    QTest::newRow("launch without a path") << QStringList{"launch"};
    QTest::newRow("calc without an expression") << QStringList{"calc"};
}

void HeadlessCommandsTest::usageErrors()
{
    QFETCH(QStringList, arguments);
    const Run run = velmora(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.startsWith("usage: velmora"));
}

QTEST_GUILESS_MAIN(HeadlessCommandsTest)
#include "HeadlessCommandsTest.moc"
