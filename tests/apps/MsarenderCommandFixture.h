#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "msarender/CellGeometry.h"
#include "msarender/FontAttributes.h"
#include "support/TestFont.h"

namespace msarendertest {

struct RunResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

/// Runs the msarender program (and the tools that read its files back) in a fresh folder.
class MsarenderCommand : public ::testing::Test {
protected:
    RunResult Run(const QStringList& arguments,
                  const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
        return RunProgram(QStringLiteral(MSARENDER_BINARY), arguments, environment);
    }
    RunResult RunProgram(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(120000)) << program.toStdString();
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    static QString Data(const char* name) { return QStringLiteral(MSARENDER_TEST_DATA "/") + name; }
    void WriteFile(const QString& name, const QByteArray& content) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir dir;
    // The program's default font, measured here the same way.
    CellGeometry cells{SQC::FontAttributes(testsupport::MonoFont(10))};
};

}  // namespace msarendertest
