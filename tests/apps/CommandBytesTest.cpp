// The command's pictures stay the same byte for byte across changes of where their code lives: every case
// of data/bytes/cases.txt is drawn and its files' SHA-256 compared with data/bytes/expected.sha256.
// MSARENDER_RECORD_BYTES=1 writes the expected digests from the current program instead.

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTextStream>

#include "MsarenderRun.h"

namespace {

struct BytesCase {
    QString name;  // name and extension together identify a case
    QString extension;
    QStringList arguments;  // the first is the input, relative to the test data
};

QString BytesFile(const char* name) {
    return QStringLiteral(MSARENDER_TEST_DATA "/bytes/") + name;
}

std::vector<BytesCase> ReadCases() {
    std::vector<BytesCase> cases;
    QFile file(BytesFile("cases.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return cases;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QStringList parts = line.split('|');
        if (parts.size() != 3) continue;
        cases.push_back({parts[0], parts[1], parts[2].split(' ', Qt::SkipEmptyParts)});
    }
    return cases;
}

QString Key(const BytesCase& c) {
    return c.name + '.' + c.extension;
}

QMap<QString, QString> ReadExpected() {
    QMap<QString, QString> expected;
    QFile file(BytesFile("expected.sha256"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return expected;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList parts = in.readLine().split(' ', Qt::SkipEmptyParts);
        if (parts.size() == 2) expected.insert(parts[1], parts[0]);
    }
    return expected;
}

class CommandBytes : public MsarenderRun {
protected:
    // The digest of every file the case wrote, in name order (pages are several files).
    QString Digest(const BytesCase& c) {
        QStringList arguments = c.arguments;
        arguments[0] = Data(arguments[0].toUtf8().constData());
        const QString output = Path("out/picture." + c.extension);
        QDir().mkpath(Path("out"));
        const RunResult run = Run(arguments + QStringList{"-o", output, "--quiet"});
        EXPECT_EQ(run.exitCode, 0) << Key(c).toStdString() << ": " << run.err.toStdString();
        QCryptographicHash hash(QCryptographicHash::Sha256);
        const QDir out(Path("out"));
        for (const QString& name : out.entryList(QDir::Files, QDir::Name)) {
            QFile file(out.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            hash.addData(file.readAll());
            file.remove();
        }
        return QString::fromLatin1(hash.result().toHex());
    }
};

TEST_F(CommandBytes, EveryCaseDrawsTheRecordedBytes) {
    const std::vector<BytesCase> cases = ReadCases();
    ASSERT_GE(cases.size(), 20u);
    if (qEnvironmentVariableIntValue("MSARENDER_RECORD_BYTES") == 1) {
        QFile file(BytesFile("expected.sha256"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Text));
        QTextStream out(&file);
        for (const BytesCase& c : cases) out << Digest(c) << ' ' << Key(c) << '\n';
        GTEST_SKIP() << "recorded " << cases.size() << " digests";
    }
    const QMap<QString, QString> expected = ReadExpected();
    ASSERT_EQ(std::size_t(expected.size()), cases.size()) << "expected.sha256 does not match cases.txt";
    for (const BytesCase& c : cases)
        EXPECT_EQ(Digest(c), expected.value(Key(c))) << Key(c).toStdString() << " changed";
}

}  // namespace
