// lsthtool dump, check and set, run as a user would.

#include "FileLock.h"
#include "RunCommand.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <sys/stat.h>

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
        EXPECT_EQ(r.exitCode, 2) << a;
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
    EXPECT_EQ(Run("").exitCode, 2);
    EXPECT_EQ(Run("frobnicate").exitCode, 2);
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

// Every command that writes a theme file follows the document's rules: a
// file that holds something else is never written into, a failure leaves the
// target byte for byte as it was, and locked slots, unlisted slots and the
// display size are kept.
TEST_F(Cli, EveryWriterKeepsWhatIsNotItsToChange)
{
    const std::string locked = "; mine\r\n[Main]\r\nMain_Dom=$F800\r\nMain_Clock=$FFFF\r\n[Common]\r\nDisplay=1\r\n"
                               "[Editor]\r\nLocked=Main_Dom\r\n";
    const std::string picture = std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + "pixels";
    WriteText(dir.File("one.gpl"), "GIMP Palette\nName: one\n#\n  0  31  0\tMain_Dom\n 16  32 48\tMain_Clock\n");
    WriteText(dir.File("source.lsth"), locked);
    struct Case {
        const char* target;
        std::string bytes;  // what it holds before; none for a file that is not there
        std::string args;   // with T for the target
        int exit;
    };
    const std::string text = "notes\nnothing of a theme\n";
    const Case cases[] = {
        {"pic.png", picture, "set T Main_Dom=#FF0000", 1},
        {"notes.txt", text, "set T --display 80x160", 1},
        {"pic.png", picture, "lint T --fix", 1},
        {"photo.png", picture, "lint " + Q("source.lsth") + " --fix -o T", 1},
        {"notes.lsth", text, "convert " + Q("one.gpl") + " T", 1},
        {"notes.lsth", text, "generate --seed '#3080FF' -o T", 1},
        {"bad.lsth", "[Main]\r\nMain_Dom=white\r\n", "set T 'Main_Clock=$0000'", 1},
        // Written: the locked slot keeps its colour and its lock, the slots the
        // command does not name and the display size stay.
        {"mine.lsth", locked, "convert " + Q("one.gpl") + " T", 0},
        {"mine.lsth", locked, "generate --seed '#3080FF' -o T", 0},
        {"mine.lsth", locked, "lint T --fix", 0},
        {"mine.lsth", locked, "set T 'Main_Clock=$1234'", 0},
        {"new.lsth", "", "convert " + Q("one.gpl") + " T", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args + " on " + c.target);
        const std::string target = dir.File(c.target);
        std::remove(target.c_str());
        if (!c.bytes.empty())
            WriteText(target, c.bytes);
        std::string args = c.args;
        args.replace(args.find(" T"), 2, " " + Q(c.target));
        const CommandResult r = Run(args);
        ASSERT_EQ(r.exitCode, c.exit) << r.err;
        if (c.exit != 0) {
            EXPECT_EQ(ReadText(target), c.bytes);
            EXPECT_NE(r.err.find(c.target), std::string::npos) << r.err;
            continue;
        }
        const CommandResult dump = Run("dump " + Q(c.target));
        if (!c.bytes.empty()) {
            EXPECT_NE(dump.out.find("\n8 Main_Dom $F800\n"), std::string::npos) << dump.out;
            EXPECT_NE(dump.out.find("Display 1\n"), std::string::npos);
            const std::string after = ReadText(target);
            EXPECT_EQ(after.rfind("; mine\r\n", 0), 0u);
            EXPECT_NE(after.find("Locked=Main_Dom\r\n"), std::string::npos) << after;
        }
        if (args.rfind("convert", 0) == 0) {
            // Only the palette's second entry could be taken; nothing else moved.
            EXPECT_NE(dump.out.find("\n5 Main_Clock $1106\n"), std::string::npos) << dump.out;
            EXPECT_EQ(dump.out.rfind("0 Main_Background $0000\n", 0), 0u);
        }
    }

    // The fix written to another file fails there (a write limit): that file
    // is as it was, the original too.
    WriteText(dir.File("out.lsth"), "[Main]\r\nMain_Dom=$001F\r\n");
    const CommandResult r = RunCommand("ulimit -f 1; " + std::string(LSTHTOOL) + " lint " + Q("source.lsth") + " --fix -o " +
                                           Q("out.lsth"),
                                       dir.File("stderr"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(ReadText(dir.File("out.lsth")), "[Main]\r\nMain_Dom=$001F\r\n");
    EXPECT_EQ(ReadText(dir.File("source.lsth")), locked);
}

#if defined(__linux__)
// lint --fix reads the theme under the lock it writes under: a change made
// by a writer that held the lock while lint waited is mended, not reverted.
TEST_F(Cli, LintFixReadsUnderTheLock)
{
    const std::string file = dir.File("t.lsth");
    WriteText(file, "[Main]\r\nMain_TCR=$5291\r\nMain_Clock=$FFFF\r\n");
    std::ifstream locks("/proc/locks");
    if (!locks)
        GTEST_SKIP() << "no /proc/locks to see the waiting lint by";
    FileLock held;
    ASSERT_TRUE(held.Acquire(file, nullptr));
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    // As /proc/locks writes it: MAJOR:MINOR:INODE.
    const std::string inode = ":" + std::to_string(static_cast<unsigned long long>(info.st_ino)) + " ";
    FILE* lint = popen((std::string(LSTHTOOL) + " lint " + Q("t.lsth") + " --fix 2>/dev/null").c_str(), "r");
    ASSERT_NE(lint, nullptr);
    // Until the kernel lists lint as waiting for the file's lock.
    const auto waiting = [&] {
        std::ifstream now("/proc/locks");
        for (std::string line; std::getline(now, line);)
            if (line.find("->") != std::string::npos && line.find(inode) != std::string::npos)
                return true;
        return false;
    };
    while (!waiting())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    WriteText(file, "[Main]\r\nMain_TCR=$5291\r\nMain_Clock=$07E0\r\n");
    held.Release();
    std::string out;
    for (int c; (c = std::fgetc(lint)) != EOF;)
        out += static_cast<char>(c);
    pclose(lint);
    const CommandResult dump = Run("dump " + Q("t.lsth"));
    EXPECT_NE(dump.out.find("\n5 Main_Clock $07E0\n"), std::string::npos) << dump.out;
    EXPECT_NE(out.find("Main_TCR"), std::string::npos) << out;
}
#endif

// Command lines that cannot be carried out faithfully are refused: exit 2 and
// one line saying why, nothing written.
TEST_F(Cli, WrongCommandLinesAreRefused)
{
    WriteText(dir.File("t.lsth"), "[Main]\r\nMain_Dom=$F800\r\n");
    const std::string before = ReadText(dir.File("t.lsth"));
    struct Case {
        std::string args;
        int exit;
    };
    const Case cases[] = {
        {"set T 'Main_Dom=70000'", 2},
        {"set T 'Main_Dom=$12345'", 2},
        {"set T Main_Dom=-1", 2},
        {"set T Main_Dom=white", 2},
        {"set T junk", 2},
        {"set T Nowhere=1", 2},
        {"set T --display 80x160 --display 240x320", 2},
        {"set", 2},
        {"dump", 2},
        {"check", 2},
        {"render --page 9 -o x.png", 2},
        {"render --page 1 --zoom 5 -o x.png", 2},
        {"render --page 1", 2},
        {"frobnicate", 2},
        {"", 2},
        {"generate --seed '#3080FF' -o a.lsth -o b.lsth", 2},
        {"generate --seed '#3080FF' --dark --light -o a.lsth", 2},
        {"card T -o c1.png -o c2.png", 2},
        // What stays right: 0..65535, in any syntax a theme file takes.
        {"set T 'Main_Dom=65535' 'Main_Clock=$0000' Main_TCR=0x1F", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        WriteText(dir.File("t.lsth"), before);
        std::string args = c.args;
        if (const std::size_t t = args.find(" T"); t != std::string::npos)
            args.replace(t, 2, " " + Q("t.lsth"));
        const CommandResult r = Run(args);
        EXPECT_EQ(r.exitCode, c.exit) << r.err;
        if (c.exit == 2) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_EQ(ReadText(dir.File("t.lsth")), before);
            EXPECT_FALSE(std::ifstream(dir.File("a.lsth")).good());
        }
    }
    // check names a value the device would see cut to 16 bits.
    WriteText(dir.File("wide.lsth"), "[Main]\r\nMain_Dom=$1F800\r\n");
    const CommandResult wide = Run("check " + Q("wide.lsth"));
    EXPECT_NE(wide.err.find("Main_Dom: warning: $1F800 is more than 16 bits"), std::string::npos) << wide.err;
    // Help that cannot be written is a failure.
    EXPECT_EQ(RunCommand(std::string(LSTHTOOL) + " --help > /dev/full", dir.File("stderr")).exitCode, 1);
    EXPECT_EQ(RunCommand(std::string(LSTHTOOL) + " --help > /dev/null", dir.File("stderr")).exitCode, 0);
    // A misspelt simulator never falls back on the real hardware; an image
    // that is not one is refused, never resized.
    const CommandResult typo = RunCommand("LARKSPUR_HID_SIMULATOR=LARGE " + std::string(LSTHTOOL) + " download", dir.File("stderr"));
    EXPECT_EQ(typo.exitCode, 2);
    EXPECT_NE(typo.err.find("unknown model 'LARGE'"), std::string::npos) << typo.err;
    WriteText(dir.File("notes.txt"), "nine byte");
    const CommandResult notImage = RunCommand("LARKSPUR_HID_SIMULATOR=large LARKSPUR_HID_SIMULATOR_FILE=" + Q("notes.txt") + " " +
                                                  std::string(LSTHTOOL) + " download",
                                              dir.File("stderr"));
    EXPECT_EQ(notImage.exitCode, 2);
    EXPECT_EQ(ReadText(dir.File("notes.txt")), "nine byte");
}
