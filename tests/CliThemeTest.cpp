// lsthtool dump, check and set, run as a user would.

#include "RunCommand.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

class Cli : public ::testing::Test {
protected:
    TempDir dir;
    CommandResult Run(const std::string& args) { return RunCommand(std::string(LSTHTOOL) + " " + args, dir.File("stderr")); }
    std::string Q(const std::string& name) { return "'" + dir.File(name) + "'"; }
};

int CountLines(const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), '\n')); }

TEST_F(Cli, DumpPrintsEverySlotAndTheDisplay)
{
    WriteText(dir.File("t.lsth"), "[Main]\r\nMain_Dom=$12345\r\n[Common]\r\nDisplay=1\r\n");
    const CommandResult r = Run("dump " + Q("t.lsth"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(CountLines(r.out), 43);
    EXPECT_EQ(r.out.substr(0, 22), "0 Main_Background $000");
    EXPECT_NE(r.out.find("\n8 Main_Dom $2345\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n41 Charge_Clock $C618\nDisplay 1\n"), std::string::npos);
}

TEST_F(Cli, BadFilesNameTheFirstFailingKey)
{
    WriteText(dir.File("bad.lsth"), "[Menu]\r\nMenu_Cursor=white\r\n[Main]\r\nMain_Clock=\r\n");
    WriteText(dir.File("good.lsth"), "");
    CommandResult r = Run("dump " + Q("bad.lsth"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    // Load errors carry the tool's name, as save errors do.
    const std::string prefix = "lsthtool: " + dir.File("bad.lsth") + ": Main_Clock";
    EXPECT_EQ(r.err.substr(0, prefix.size()), prefix);
    EXPECT_EQ(CountLines(r.err), 1);

    r = Run("check " + Q("bad.lsth") + " " + Q("missing.lsth"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("missing.lsth: "), std::string::npos);
    EXPECT_NE(r.err.find("bad.lsth: Main_Clock: "), std::string::npos);

    // A file without a single theme key loads as the defaults; check names
    // every key it lacks, and only --strict fails it.
    r = Run("check " + Q("good.lsth"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(CountLines(r.err), 43) << r.err;
    EXPECT_NE(r.err.find("good.lsth: Charge_Clock: warning: missing"), std::string::npos);
    EXPECT_NE(r.err.find("good.lsth: Display: warning: missing"), std::string::npos);
    EXPECT_EQ(Run("check --strict " + Q("good.lsth")).exitCode, 1);
    WriteText(dir.File("full.lsth"), "");
    ASSERT_EQ(Run("set " + Q("full.lsth")).exitCode, 0);
    r = Run("check --strict " + Q("full.lsth"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
}

TEST_F(Cli, SetWritesKeysAndKeepsEverythingElse)
{
    WriteText(dir.File("t.lsth"), "; mine\r\n[Main]\r\nMain_Dom=$0001\r\nNote=hi\r\n");
    CommandResult r = Run("set " + Q("t.lsth") + " main_dom=#C86432 Menu_Cursor=0x07E0 --display 80x160");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = ReadText(dir.File("t.lsth"));
    EXPECT_EQ(text.substr(0, 41), "; mine\r\n[Main]\r\nMain_Dom=$C326\r\nNote=hi\r\n");
    r = Run("dump " + Q("t.lsth"));
    EXPECT_NE(r.out.find("\n8 Main_Dom $C326\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n23 Menu_Cursor $07E0\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nDisplay 1\n"), std::string::npos);

    // A new file starts from the defaults; the display size stays unless asked.
    ASSERT_EQ(Run("set " + Q("new.lsth") + " 'Saver_Date=$0001'").exitCode, 0);
    r = Run("dump " + Q("new.lsth"));
    EXPECT_NE(r.out.find("\n9 Main_AccentVW $FAC4\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n28 Saver_Date $0001\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nDisplay 0\n"), std::string::npos);
}

TEST_F(Cli, SetRefusesBadInputWithoutTouchingTheFile)
{
    const std::string bad = "[Main]\r\nMain_Clock=white\r\n";
    WriteText(dir.File("bad.lsth"), bad);
    WriteText(dir.File("ok.lsth"), "[Main]\r\n");
    const char* arguments[] = {"Main_Dom=white", "'NoSuchKey=$0001'", "Main_Dom", "--display 100x100", "--display"};
    for (const char* a : arguments) {
        const CommandResult r = Run("set " + Q("ok.lsth") + " " + a);
        EXPECT_EQ(r.exitCode, 1) << a;
        EXPECT_FALSE(r.err.empty()) << a;
        EXPECT_EQ(ReadText(dir.File("ok.lsth")), "[Main]\r\n") << a;
    }
    EXPECT_EQ(Run("set " + Q("bad.lsth") + " 'Main_Dom=$0001'").exitCode, 1);
    EXPECT_EQ(ReadText(dir.File("bad.lsth")), bad);
}

TEST_F(Cli, HelpAndUsage)
{
    for (const char* command : {"dump", "check", "set"}) {
        const CommandResult r = Run(std::string(command) + " --help");
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_NE(r.out.find("usage: lsthtool " + std::string(command)), std::string::npos) << command;
    }
    EXPECT_EQ(Run("").exitCode, 1);
    EXPECT_EQ(Run("frobnicate").exitCode, 1);
    EXPECT_EQ(Run("--help").exitCode, 0);
}

// Bytes from files and arguments reach the terminal escaped, one line each.
TEST_F(Cli, MessagesShowControlBytesEscaped)
{
    WriteText(dir.File("esc.lsth"), std::string("[Main]\r\nMain_Dom=\x1b[2J\x07\0tail\r\n", 30));
    const std::string odd = dir.File("two\nlines.lsth");
    WriteText(odd, "[Main]\r\nMain_Dom=nope\r\n");
    for (const std::string& file : {dir.File("esc.lsth"), odd}) {
        const CommandResult r = Run("dump '" + file + "'");
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(CountLines(r.err), 1) << r.err;
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
        EXPECT_EQ(r.err.find('\x07'), std::string::npos);
    }
    const CommandResult r = Run("dump " + Q("esc.lsth"));
    EXPECT_NE(r.err.find("\\x1b[2J\\x07\\x00tail"), std::string::npos) << r.err;
    EXPECT_NE(Run("dump '" + odd + "'").err.find("two\\x0alines.lsth"), std::string::npos);
}

}  // namespace
