#include "shell/ProfileFile.h"
#include "store/StoreError.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QString kSection = u"TForm1"_s;
const QString kDefault = u"<default>"_s;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestProfileFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void readsValue_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");

        const auto row = [](const char* name, const QByteArray& content, const QString& expected) {
            QTest::newRow(name) << content << expected;
        };
        const QByteArray limit(ProfileFile::kMaxValueLength, 'b');
        row("names in other case", "[tform1]\r\nKEY=v\r\n", u"v"_s);
        row("blanks around names and value", "  [ TForm1 ]  \n  Key  =  v w  \n", u"v w"_s);
        row("LF and CR LF mixed, no last line end", "[A]\r\nKey=1\n[TForm1]\nX=2\r\nKey=3", u"3"_s);
        row("key only in another section", "[TForm1]\nA=1\n[Other]\nKey=no\n", kDefault);
        row("no such section", "[Other]\nKey=no\n", kDefault);
        row("empty value is not the default", "[TForm1]\nKey=\n", QString());
        row("name alone is no key", "[TForm1]\nKey\n", kDefault);
        row("first of two keys", "[TForm1]\nKey=1\nkey=2\n", u"1"_s);
        row("double quotes keep blanks", "[TForm1]\nKey=\"  a  \"\n", u"  a  "_s);
        row("single quotes", "[TForm1]\nKey='x'\n", u"x"_s);
        row("one pair only", "[TForm1]\nKey=\"\"x\"\"\n", u"\"x\""_s);
        row("unlike quotes kept", "[TForm1]\nKey=\"x'\n", u"\"x'"_s);
        row("cut at 2047", "[TForm1]\nKey=a" + limit, QString::fromLatin1('a' + limit.chopped(1)));
        row("quotes removed before the cut", "[TForm1]\nKey=\"" + limit + '"', QString::fromLatin1(limit));
        row("byte order mark", "\xEF\xBB\xBF[TForm1]\nKey=v\n", u"v"_s);
        row("binary", QByteArray("\x00\xFF[\x01\n=\n\xFE]\r\r\x00Key=1", 19), kDefault);
    }

    void readsValue()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        const QString path = m_env->path(u"test.INI"_s);
        writeFile(path, content);
        ProfileFile profile(path);
        QVERIFY(profile.load());
        QCOMPARE(profile.value(kSection, u"Key"_s, kDefault), expected);
    }

    void writesValue_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("readBack");

        const auto row = [](const char* name, const QByteArray& original, const QString& value,
                            const QByteArray& expected, const QString& readBack) {
            QTest::newRow(name) << original << value << expected << readBack;
        };
        row("no file yet", QByteArray(), u"v"_s, "[TForm1]\r\nKey=v\r\n", u"v"_s);
        row("replaced in place", "[tform1]\nA=1\nkey=old\nB=2\n", u"v"_s, "[tform1]\r\nA=1\r\nKey=v\r\nB=2\r\n",
            u"v"_s);
        row("added at the end of its section", "[TForm1]\nA=1\n\n[Other]\nKey=2\n", u"v"_s,
            "[TForm1]\r\nA=1\r\nKey=v\r\n\r\n[Other]\r\nKey=2\r\n", u"v"_s);
        row("new section at the end, other bytes kept", "; \xCF\xF0\xE8\r\n[Other]\r\nName=\xE8\xEC\xFF", u"v"_s,
            "; \xCF\xF0\xE8\r\n[Other]\r\nName=\xE8\xEC\xFF\r\n\r\n[TForm1]\r\nKey=v\r\n", u"v"_s);
        row("double-quoted value", QByteArray(), u"\"x\""_s, "[TForm1]\r\nKey=\"\"x\"\"\r\n", u"\"x\""_s);
        row("single-quoted value", QByteArray(), u"'x'"_s, "[TForm1]\r\nKey=\"'x'\"\r\n", u"'x'"_s);
        row("quote at one end only", QByteArray(), u"'x"_s, "[TForm1]\r\nKey='x\r\n", u"'x"_s);
        row("line breaks plant nothing", QByteArray(), u"a\r\n[Evil]\nb"_s, "[TForm1]\r\nKey=a  [Evil] b\r\n",
            u"a  [Evil] b"_s);
        row("text as UTF-8", QByteArray(), u"Тур"_s, "[TForm1]\r\nKey=\xD0\xA2\xD1\x83\xD1\x80\r\n", u"Тур"_s);
    }

    void writesValue()
    {
        QFETCH(QByteArray, original);
        QFETCH(QString, value);
        QFETCH(QByteArray, expected);
        QFETCH(QString, readBack);
        const QString path = m_env->path(u"test.INI"_s);
        if (!original.isNull()) {
            writeFile(path, original);
        }
        ProfileFile profile(path);
        QVERIFY(profile.load());
        profile.setValue(kSection, u"Key"_s, value);
        profile.save();
        QCOMPARE(readFile(path), expected);
        QVERIFY(profile.load());
        QCOMPARE(profile.value(kSection, u"Key"_s, kDefault), readBack);
    }

    void keepsFileItCannotRead()
    {
        const QString path = m_env->path(u"test.INI"_s);
        writeFile(path, "[Other]\nKey=precious\n");
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        if (QFile(path).open(QIODevice::ReadOnly)) {
            QSKIP("file permissions do not bind this user");
        }
        ProfileFile profile(path);
        QVERIFY(!profile.load());
        profile.setValue(kSection, u"Key"_s, u"v"_s);
        QVERIFY_THROWS_EXCEPTION(StoreError, profile.save());
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(readFile(path), "[Other]\nKey=precious\n"_ba);
    }

    void placesFileInConfigDirectory_data()
    {
        QTest::addColumn<QByteArray>("configHome");
        QTest::addColumn<bool>("usesConfigHome");
        QTest::newRow("configuration home set") << "<config>"_ba << true;
        QTest::newRow("configuration home empty") << QByteArray() << false;
        QTest::newRow("relative configuration home ignored") << "relative/config"_ba << false;
    }

    void placesFileInConfigDirectory()
    {
        QFETCH(QByteArray, configHome);
        QFETCH(bool, usesConfigHome);
        const QByteArray previousHome = qgetenv("HOME");
        qputenv("HOME", m_env->path(u"home"_s).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", configHome == "<config>" ? m_env->configDir().toLocal8Bit() : configHome);
        const QString path = settingsFilePath();
        qputenv("HOME", previousHome);
        const QString directory = usesConfigHome ? m_env->configDir() : m_env->path(u"home/.config"_s);
        QCOMPARE(path, QDir(directory).filePath(u"shell_test_profilefile.INI"_s));
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profilefile.moc"
