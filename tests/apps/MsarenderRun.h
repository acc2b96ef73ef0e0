// Runs the msarender program as a user does, in a fresh folder, with the program's default font measured
// the same way.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "msarender/CellGeometry.h"
#include "msarender/FontAttributes.h"
#include "support/ProgramRun.h"
#include "support/TestFont.h"

struct RunResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class MsarenderRun : public ::testing::Test {
protected:
    RunResult Run(const QStringList& arguments,
                  const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
        return RunProgram(QStringLiteral(MSARENDER_BINARY), arguments, environment);
    }
    // Another program, such as a tool that reads the pictures back.
    RunResult RunProgram(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        const testsupport::ProgramRun run = testsupport::RunProgram(process, program, arguments, 120000);
        EXPECT_TRUE(run.finished) << program.toStdString();
        return {run.exitCode, run.out, run.err};
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
    // Below the last line of every picture and page: half a cell of white for the names' descenders.
    int margin = cells.CellHeight() / 2;
};
