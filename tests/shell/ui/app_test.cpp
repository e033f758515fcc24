#include <gtest/gtest.h>

#include <QProcess>

namespace {

struct ProgramRun {
  int exitCode;
  QString output;
};

ProgramRun runProgram(const QStringList& args) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(QStringLiteral(TUNVEXA_BIN_DIR "/tunvexa/Tunvexa"), args);
  if (!p.waitForFinished(10000)) {
    p.kill();
    p.waitForFinished();
    return {-1, QString()};
  }
  return {p.exitCode(), QString::fromLocal8Bit(p.readAll())};
}

TEST(Program, HelpDocumentsTheComOption) {
  const ProgramRun r = runProgram({QStringLiteral("--help")});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.output.contains(QStringLiteral("--com N"))) << r.output.toStdString();
  EXPECT_TRUE(r.output.contains(QStringLiteral("ComPort"))) << r.output.toStdString();
}

TEST(Program, ComOptionWantsAPortNumber) {
  for (const QStringList& args : {QStringList{"--com"}, QStringList{"--com", "0"},
                                  QStringList{"--com", "100"}, QStringList{"--com", "7x"}}) {
    const ProgramRun r = runProgram(args);
    EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.output.contains(QStringLiteral("--com"))) << r.output.toStdString();
  }
}

}  // namespace
