// The real program run as a build or a git hook runs it: no display, no
// platform plugin chosen, arguments, standard input and output, files and
// exit statuses.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Hero: every grey once on its diagonal; Ship: grey only.
//   Hero       Ship
//   *......#   ++++....
//   ......+.   ....++++
//   .....+..   ........
//   ....+...   ........
//   ...+....   ........
//   ..+.....   ........
//   .+......   ........
//   #*******   ........
const std::string kHeroLight = "static unsigned char Herolight[]={0x01,0x02,0x04,0x08,0x10,0x20,0x40,0x80};";
const std::string kHeroDark = "static unsigned char Herodark[]={0x81,0x00,0x00,0x00,0x00,0x00,0x00,0xFF};";
const std::string kShipLight = "static unsigned char Shiplight[]={0xF0,0x0F,0x00,0x00,0x00,0x00,0x00,0x00};";
const std::string kShipDark = "static unsigned char Shipdark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};";
const std::string kSprites =
    "#pragma once\n" + kHeroLight + "\n" + kHeroDark + "\n// ships\n" + kShipLight + "\n" + kShipDark + "\n";

const std::string kHeroPicture = "*......#\n"
                                 "......+.\n"
                                 ".....+..\n"
                                 "....+...\n"
                                 "...+....\n"
                                 "..+.....\n"
                                 ".+......\n"
                                 "#*******\n";
const std::string kShipPicture = "++++....\n"
                                 "....++++\n"
                                 "........\n"
                                 "........\n"
                                 "........\n"
                                 "........\n"
                                 "........\n"
                                 "........\n";

// The picture as "// " comment lines.
std::string commented(const std::string& picture)
{
    std::string out;
    for (std::size_t start = 0; start < picture.size();) {
        const std::size_t end = picture.find('\n', start) + 1;
        out += "// " + picture.substr(start, end - start);
        start = end;
    }
    return out;
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    void write(const char* name, const std::string& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
        ASSERT_TRUE(file.flush());
    }
    std::string read(const char* name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("(missing)");
    }

    // Runs the program in the test's folder with `arguments` (shell words)
    // and `input` on standard input, without any display. A run that hangs
    // is ended after 30 s with status 124.
    Outcome run(const std::string& arguments, const std::string& input = {}) const
    {
        write("stdin", input);
        const std::string command =
            "cd '" + dir.path().toStdString()
            + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 '" BITLOOM_BINARY "' "
            + arguments + " <stdin >stdout 2>stderr";
        const int raw = std::system(command.c_str());
        Outcome result;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = read("stdout");
        result.err = read("stderr");
        return result;
    }

    QTemporaryDir dir;
};

TEST_F(CommandLine, VersionAndHelpNeedNoDisplay)
{
    const Outcome version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "bitloom " BITLOOM_VERSION "\n");
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(run("-v").out, version.out);

    const Outcome help = run("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"bitloom [FILE]", "bitloom show", "--textconv", "bitloom check",
                             "bitloom export", "--sprite", "--scale", "bitloom import", "--version"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    EXPECT_EQ(run("-h").out, help.out);

    const Outcome showHelp = run("show --help");
    EXPECT_EQ(showHelp.status, 0);
    EXPECT_EQ(showHelp.out.rfind("Usage: bitloom show", 0), 0u);
}

TEST_F(CommandLine, UsageErrorsExitWithTwo)
{
    write("sprites.h", kSprites);
    for (const char* arguments : {"show", "check", "check --frobnicate sprites.h", "export sprites.h",
                                  "export sprites.h -o out.png --scale 3 --sprite Hero",
                                  "export sprites.h -o out.png --scale 2", "import", "import a.png"}) {
        const Outcome result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_EQ(result.out, "") << arguments;
        EXPECT_NE(result.err.find("--help"), std::string::npos) << arguments;
    }
    EXPECT_FALSE(QFile::exists(path("out.png")));
    EXPECT_FALSE(QFile::exists(path("x.h")));
}

TEST_F(CommandLine, MistakesAreSaidWithoutOpeningAWindow)
{
    write("sprites.h", kSprites);
    ASSERT_EQ(::symlink("sprites.h", path("link.png").toLocal8Bit().constData()), 0);
    ASSERT_EQ(::link(path("sprites.h").toLocal8Bit().constData(), path("hard.png").toLocal8Bit().constData()),
              0);
    const char* noDisplay = "bitloom: cannot open a window: no display. The commands show, check, export, "
                            "import and convert need none.\n";
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"chek sprites.h", "bitloom: 'chek' is not a command (did you mean 'check'?)\n"},
        {"exprot sprites.h -o sheet.png", "bitloom: 'exprot' is not a command (did you mean 'export'?)\n"},
        {"frobnicate sprites.h", "bitloom: 'frobnicate' is not a command\n"},
        {"sprites.h missing.h", "bitloom: the window opens one file\n"},
        {"-style fusion sprites.h", noDisplay},
        {"sprites.h", noDisplay},
        {"", noDisplay},
        {"export sprites.h -o sprites.h", "bitloom export: the output \"sprites.h\" is the input file\n"},
        {"export sprites.h -o link.png", "bitloom export: the output \"link.png\" is the input file\n"},
        {"export sprites.h -o hard.png", "bitloom export: the output \"hard.png\" is the input file\n"},
        {"export sprites.h -o sheet.jpg", "bitloom export: export writes PNG; name the file .png\n"},
        {"export sprites.h -o sheet --sprite Hero",
         "bitloom export: export writes PNG; name the file .png\n"},
    };
    for (const auto& c : cases) {
        const Outcome result = run(c.arguments);
        EXPECT_EQ(result.status, 2) << c.arguments;
        EXPECT_EQ(result.out, "") << c.arguments;
        EXPECT_EQ(result.err.substr(0, result.err.find('\n') + 1), c.message) << c.arguments;
    }
    EXPECT_EQ(read("sprites.h"), kSprites);
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::Files | QDir::System),
        (QStringList{QStringLiteral("hard.png"), QStringLiteral("link.png"), QStringLiteral("sprites.h"),
                     QStringLiteral("stderr"), QStringLiteral("stdin"), QStringLiteral("stdout")}));
}

TEST_F(CommandLine, ShowListsEverySpriteInFileOrder)
{
    write("sprites.h", kSprites);
    const std::string expected = "Hero\n" + kHeroPicture + "\nShip\n" + kShipPicture + "\n";

    const Outcome fromFile = run("show sprites.h");
    EXPECT_EQ(fromFile.status, 0);
    EXPECT_EQ(fromFile.out, expected);
    EXPECT_EQ(fromFile.err, "");

    const Outcome fromInput = run("show -", kSprites);
    EXPECT_EQ(fromInput.status, 0);
    EXPECT_EQ(fromInput.out, expected);

    EXPECT_EQ(read("sprites.h"), kSprites);
}

TEST_F(CommandLine, ShowReportsAFileItCannotTakeAndGoesOn)
{
    write("sprites.h", kSprites);
    write("binary.h", std::string("abc\0def", 7));
    const Outcome result = run("show binary.h missing.h sprites.h");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Hero\n" + kHeroPicture + "\nShip\n" + kShipPicture + "\n");
    EXPECT_EQ(result.err.find("binary.h: error: "), 0u) << result.err;
    EXPECT_NE(result.err.find("\nmissing.h: error: "), std::string::npos) << result.err;
}

TEST_F(CommandLine, ShowSaysWhatItCannotShow)
{
    // Hero reads; Ship's light plane holds seven numbers.
    const std::string broken = "static unsigned char Shiplight[]={0xF0,0x0F,0x00,0x00,0x00,0x00,0x00};";
    write("broken.h", kHeroLight + "\n" + kHeroDark + "\n" + broken + "\n" + kShipDark + "\n");
    const Outcome result = run("show broken.h");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Hero\n" + kHeroPicture + "\n");
    EXPECT_EQ(result.err.find("broken.h:3: error: "), 0u) << result.err;
    EXPECT_EQ(run("check broken.h").out, result.err);
    // A diff filter still passes the text and succeeds.
    EXPECT_EQ(run("show --textconv broken.h").status, 0);

    write("empty.h", "#pragma once\n");
    const Outcome empty = run("show empty.h");
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.err, "empty.h: there are no sprites to show\n");
}

TEST_F(CommandLine, TextconvAddsPicturesAfterEachSprite)
{
    // CRLF lines, a sprite without a dark declaration, and a last line with
    // no line feed of its own.
    const std::string text = kHeroLight + "\r\nint x;\r\n" + kHeroDark + "\r\n" + kShipLight;
    write("sprites.h", text);
    const Outcome result = run("show --textconv sprites.h");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, kHeroLight + "\r\nint x;\r\n" + kHeroDark + "\r\n" + commented(kHeroPicture)
                              + kShipLight + "\n" + commented(kShipPicture));

    EXPECT_EQ(run("show --textconv -", kSprites).out,
              "#pragma once\n" + kHeroLight + "\n" + kHeroDark + "\n" + commented(kHeroPicture) + "// ships\n"
                  + kShipLight + "\n" + kShipDark + "\n" + commented(kShipPicture));
}

TEST_F(CommandLine, TextconvPassesOtherFilesThrough)
{
    // A header in another encoding must not stop git diff.
    const std::string latin1 = "/* caf\xE9 */\n" + kHeroLight + "\n";
    write("latin1.h", latin1);
    const Outcome result = run("show --textconv latin1.h");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, latin1);
}

TEST_F(CommandLine, CheckPrintsCompilerStyleDiagnostics)
{
    write("sprites.h",
          "// sprites\n"                                                                        // 1
              + kHeroLight + "\n" + kHeroDark + "\n"                                            // 2, 3
              + "static unsigned char 9badlight[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0xzz};\n" // 4
              + kHeroLight + "\n"                                                               // 5
              + "static unsigned char Onlydark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\n"  // 6
              + "static unsigned char while[]={0x00};\n"); // 7: no sprite
    const Outcome result = run("check sprites.h");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out,
              "sprites.h:4: error: the bytes of 9badlight cannot all be read ('0xzz' is not a number); it is "
              "not opened\n"
              "sprites.h:4: warning: \"9bad\" is not a C identifier: it begins with a digit\n"
              "sprites.h:5: error: Herolight is declared again; the declaration on line 2 is the one read\n"
              "sprites.h:6: warning: Onlydark has no light declaration; it is not opened\n");
    EXPECT_EQ(result.err, "");
}

// An array only named like a plane is a warning; the reasons say why bytes
// cannot be read; a name in a message is cut to 80 bytes.
TEST_F(CommandLine, CheckSaysWhyAndCutsLongNames)
{
    write("back.h", "unsigned char backlight[]={1,2,3};\n");
    const Outcome back = run("check back.h");
    EXPECT_EQ(back.status, 0);
    EXPECT_EQ(back.out,
              "back.h:1: warning: backlight is not read as a sprite plane: 3 numbers; a sprite plane has 8\n"
              "back.h: warning: no sprites or tiles found\n");

    const std::string longName(1000, 'n');
    write("long.h", "unsigned char " + longName + "light[8]={1,2,3,4,5,6,7};\n" + "unsigned char " + longName
                        + "dark[]={1,2,3,4,5,6,7,'a'};\n");
    const Outcome cut = run("check long.h");
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.out,
              "long.h:1: error: the bytes of " + std::string(80, 'n')
                  + "...light cannot all be read (7 numbers; a sprite plane has 8); it is not opened\n"
                  + "long.h:2: error: the bytes of " + std::string(80, 'n')
                  + "...dark cannot all be read ('a' is not a number); its dark rows are taken as 0\n"
                  + "long.h: warning: no sprites or tiles found\n");
}

TEST_F(CommandLine, CheckExitStatusFollowsErrorsOnly)
{
    write("clean.h", kSprites);
    const Outcome clean = run("check clean.h");
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, "");

    const Outcome warned = run("check -", kHeroLight + "\n");
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(warned.out,
              "<stdin>:1: warning: Herolight has no dark declaration; its dark rows are taken as 0\n");

    std::string many;
    for (int i = 0; i < 102; ++i) {
        const std::string n = std::to_string(i);
        many += "static unsigned char s" + n + "light[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\n"
                + "static unsigned char s" + n + "dark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\n";
    }
    write("many.h", many);
    const Outcome beyond = run("check clean.h many.h");
    EXPECT_EQ(beyond.status, 1);
    EXPECT_EQ(beyond.out,
              "many.h:203: error: sprite \"s101\" is beyond the 101 the sprite table holds; it is not "
              "opened\n");
}

TEST_F(CommandLine, CheckRefusesWholeFilesAsOpenDoes)
{
    write("latin1.h", "/* caf\xE9 */\n");
    write("nul.h", std::string("a\0b", 3));
    write("huge.h", std::string(4u * 1024u * 1024u + 1u, ' '));
    const Outcome result = run("check latin1.h nul.h huge.h");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "latin1.h: error: The file is not valid UTF-8 text.\n"
                          "nul.h: error: The file holds NUL bytes: it is not a text file.\n"
                          "huge.h: error: The file is larger than 4 MiB.\n");
}

TEST_F(CommandLine, ExportWritesTheSheetAndItsIndex)
{
    write("sprites.h", kSprites);
    const Outcome result = run("export sprites.h -o sheet.png");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(read("sheet.txt"), "0 Hero\n1 Ship\n");
    const QImage sheet(path("sheet.png"));
    ASSERT_EQ(sheet.size(), QSize(16, 8));
    EXPECT_EQ(sheet.pixel(0, 0), qRgb(0x40, 0x40, 0x40)); // Hero's dark grey corner
    EXPECT_EQ(sheet.pixel(7, 0), qRgb(0, 0, 0));
    EXPECT_EQ(sheet.pixel(6, 1), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(sheet.pixel(1, 1), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(sheet.pixel(8, 0), qRgb(0x80, 0x80, 0x80)); // Ship
    EXPECT_EQ(sheet.pixel(12, 0), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(read("sprites.h"), kSprites);
}

TEST_F(CommandLine, ExportOneSpriteScaled)
{
    write("sprites.h", kSprites);
    ASSERT_EQ(run("export sprites.h -o ship.png --sprite Ship --scale 4").status, 0);
    const QImage ship(path("ship.png"));
    ASSERT_EQ(ship.size(), QSize(32, 32));
    EXPECT_EQ(ship.pixel(15, 3), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(ship.pixel(16, 3), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(ship.pixel(16, 4), qRgb(0x80, 0x80, 0x80));
    EXPECT_FALSE(QFile::exists(path("ship.txt")));

    // To standard output, from standard input.
    const Outcome piped = run("export - -o - --sprite Hero", kSprites);
    EXPECT_EQ(piped.status, 0);
    const QImage hero = QImage::fromData(QByteArray::fromStdString(piped.out), "PNG");
    ASSERT_EQ(hero.size(), QSize(8, 8));
    EXPECT_EQ(hero.pixel(7, 0), qRgb(0, 0, 0));

    const Outcome unknown = run("export sprites.h -o nobody.png --sprite Nobody");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err.find("sprites.h: error: "), 0u);
    EXPECT_FALSE(QFile::exists(path("nobody.png")));
}

TEST_F(CommandLine, ExportNeverReplacesItsInputWithTheIndex)
{
    // The index of "sprites.png" would be "sprites.txt": the input itself.
    write("sprites.txt", kSprites);
    const Outcome result = run("export sprites.txt -o sprites.png");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("error"), std::string::npos);
    EXPECT_EQ(read("sprites.txt"), kSprites);
    EXPECT_FALSE(QFile::exists(path("sprites.png")));
}

TEST_F(CommandLine, ExportWritesIntoPipesAndDevicesAsSuch)
{
    write("sprites.h", kSprites);
    const QByteArray fifo = path("pipe.h").toLocal8Bit();
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    // Opened without waiting for a writer; the image fits in the pipe.
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const Outcome result = run("export sprites.h -o pipe.h");
    EXPECT_EQ(result.status, 0) << result.err;
    QByteArray bytes(65536, '\0');
    const ssize_t got = ::read(reader, bytes.data(), std::size_t(bytes.size()));
    ::close(reader);
    ASSERT_GT(got, 0);
    EXPECT_EQ(QImage::fromData(bytes.left(got), "PNG").size(), QSize(16, 8));
    struct stat status {};
    ASSERT_EQ(::stat(fifo.constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "the pipe is still a pipe";
    EXPECT_FALSE(QFile::exists(path("pipe.txt"))) << "a pipe takes the image alone";

    EXPECT_EQ(run("export sprites.h -o /dev/null").status, 0);
    const Outcome full = run("export sprites.h -o /dev/full --sprite Hero");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("No space left on device"), std::string::npos) << full.err;
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists()
                && !QFileInfo(QStringLiteral("/dev/full")).isFile());
}

TEST_F(CommandLine, ExportThroughALinkWritesItsTargetAndTheIndexBesideIt)
{
    write("sprites.h", kSprites);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("art")));
    ASSERT_EQ(::symlink("art/sheet.png", path("sheet.png").toLocal8Bit().constData()), 0);
    const Outcome result = run("export sprites.h -o sheet.png");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(QFileInfo(path("sheet.png")).isSymLink());
    EXPECT_EQ(QImage(path("art/sheet.png")).size(), QSize(16, 8));
    EXPECT_EQ(read("art/sheet.txt"), "0 Hero\n1 Ship\n");
    EXPECT_FALSE(QFile::exists(path("sheet.txt")));
}

// A full disk: a small tmpfs, which only root can mount.
TEST_F(CommandLine, ExportOnAFullDiskFailsAndLeavesTheOldFiles)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("full")));
    const QByteArray mountPoint = path("full").toLocal8Bit();
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount(at.constData()); }
    } unmount{mountPoint};

    std::string many;
    for (int i = 0; i < 100; ++i) {
        const std::string n = std::to_string(i);
        many += "static unsigned char s" + n + "light[]={0x80,0x01,0x00,0x00,0x00,0x00,0x00,0x01};\n"
                + "static unsigned char s" + n + "dark[]={0x80,0x07,0x00,0x00,0x00,0x00,0x00,0x00};\n";
    }
    write("many.h", many);
    write("full/sheet.png", "old image");
    write("full/sheet.txt", "0 old\n");
    // Four pages: the old files take one each, the filler one, and the new
    // image fits in the last, but its index does not.
    write("full/filler", std::string(4096, 'x'));
    for (const char* arguments : {"export many.h -o full/sheet.png", "export many.h -o full/new.png"}) {
        const Outcome result = run(arguments);
        EXPECT_EQ(result.status, 1) << arguments;
        EXPECT_NE(result.err.find(": No space left on device\n"), std::string::npos) << result.err;
    }
    EXPECT_EQ(read("full/sheet.png"), "old image");
    EXPECT_EQ(read("full/sheet.txt"), "0 old\n");
    EXPECT_EQ(
        QDir(path("full")).entryList(QDir::Files | QDir::Hidden),
        (QStringList{QStringLiteral("filler"), QStringLiteral("sheet.png"), QStringLiteral("sheet.txt")}));
}

// A 16 x 8 image: tile 0 black, tile 1 grey on its top half.
void writeHeroPng(const QString& file)
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            image.setPixel(x, y, qRgb(0, 0, 0));
            if (y < 4)
                image.setPixel(8 + x, y, qRgb(0x80, 0x80, 0x80));
        }
    }
    ASSERT_TRUE(image.save(file));
}

TEST_F(CommandLine, ImportIntoAnExistingFileKeepsItsOtherLines)
{
    writeHeroPng(path("hero.png"));
    const std::string before =
        "/* my sprites */\r\n"
        "static unsigned char hero0light[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\r\n"
        "int keep_me = 1;\r\n"
        "static unsigned char hero0dark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\r\n"
        + kShipLight + "\r\n" + kShipDark + "\r\n";
    write("sprites.h", before);

    const Outcome result = run("import hero.png -o sprites.h");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    const std::string after = read("sprites.h");
    EXPECT_EQ(after.substr(0, 18), "/* my sprites */\r\n");
    EXPECT_NE(after.find("static unsigned char hero0light[]={0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF};\r\n"
                         "int keep_me = 1;\r\n"
                         "static unsigned char hero0dark[]={0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF};\r\n"
                         + kShipLight + "\r\n" + kShipDark + "\r\n"),
              std::string::npos)
        << after;
    EXPECT_NE(after.find("hero1light[]={0xFF,0xFF,0xFF,0xFF,0x00,0x00,0x00,0x00};"), std::string::npos)
        << after;
    EXPECT_EQ(run("show sprites.h").out.find("hero0\n########\n"), 0u);
}

TEST_F(CommandLine, ImportStartsANewFileOrWritesToStandardOutput)
{
    writeHeroPng(path("hero.png"));
    ASSERT_EQ(run("import hero.png -o new.h").status, 0);
    const std::string created = read("new.h");
    EXPECT_NE(created.find("hero0light[]={0xFF"), std::string::npos);

    const Outcome piped = run("import hero.png -o -");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, created);
    EXPECT_FALSE(QFile::exists(path("-")));
}

TEST_F(CommandLine, ImportReadsStandardInputAndWritesIntoAPipeWithoutReadingIt)
{
    writeHeroPng(path("hero.png"));
    QFile png(path("hero.png"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const Outcome piped = run("import - -o -", png.readAll().toStdString());
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_NE(piped.out.find("tile0light[]={0xFF,0xFF"), std::string::npos) << piped.out;
    EXPECT_NE(piped.out.find("tile1light[]"), std::string::npos) << piped.out;

    const Outcome garbage = run("import - -o new.h", "not an image");
    EXPECT_EQ(garbage.status, 1);
    EXPECT_EQ(garbage.err.find("<stdin>: error: "), 0u) << garbage.err;
    EXPECT_FALSE(QFile::exists(path("new.h")));

    const QByteArray fifo = path("pipe.h").toLocal8Bit();
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const Outcome result = run("import hero.png -o pipe.h");
    EXPECT_EQ(result.status, 0) << result.err;
    std::string bytes(65536, '\0');
    const ssize_t got = ::read(reader, bytes.data(), bytes.size());
    ::close(reader);
    ASSERT_GT(got, 0);
    EXPECT_NE(bytes.substr(0, std::size_t(got)).find("hero1light[]"), std::string::npos);
}

TEST_F(CommandLine, ImportTakesTheNearestGreyAndSaysHowManyPixelsDid)
{
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(qRgb(0, 0, 0));
    image.setPixel(0, 0, qRgb(0xFF, 0, 0));       // red: dark grey by its brightness
    image.setPixel(1, 0, qRgba(0, 0, 0, 0x7F));   // less than half opaque: white
    image.setPixel(2, 0, qRgb(0x81, 0x80, 0x80)); // nearly grey: grey
    ASSERT_TRUE(image.save(path("red.png")));
    const Outcome result = run("import red.png -o -");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err,
              "red.png: warning: 3 pixels were not one of the four greys and took the nearest one.\n");
    EXPECT_NE(result.out.find("red0light[]={0x3F,"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("red0dark[]={0x9F,"), std::string::npos) << result.out;

    writeHeroPng(path("hero.png"));
    EXPECT_EQ(run("import hero.png -o -").err, "");
}

TEST_F(CommandLine, RefusedImportLeavesTheFileUntouched)
{
    QImage odd(9, 8, QImage::Format_RGB32);
    odd.fill(Qt::black);
    ASSERT_TRUE(odd.save(path("odd.png")));
    write("sprites.h", kSprites);

    const Outcome result = run("import odd.png -o sprites.h");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.find("odd.png: error: "), 0u) << result.err;
    EXPECT_EQ(read("sprites.h"), kSprites);

    // A target that Open refuses is not replaced either.
    writeHeroPng(path("hero.png"));
    write("binary.h", std::string("x\0y", 3));
    EXPECT_EQ(run("import hero.png -o binary.h").status, 1);
    EXPECT_EQ(read("binary.h"), std::string("x\0y", 3));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("binary.h"), QStringLiteral("hero.png"), QStringLiteral("odd.png"),
                           QStringLiteral("sprites.h"), QStringLiteral("stderr"), QStringLiteral("stdin"),
                           QStringLiteral("stdout")}))
        << "no temporary files left behind";
}

TEST_F(CommandLine, ImportTakesTheNamesOfTheIndexBesideTheImage)
{
    // Export, paint Ship black elsewhere, import back: Ship changes where
    // it stands and no sprite is added.
    write("sprites.h", kSprites);
    ASSERT_EQ(run("export sprites.h -o sheet.png").status, 0);
    QImage sheet(path("sheet.png"));
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x)
            sheet.setPixel(x, y, qRgb(0, 0, 0));
    ASSERT_TRUE(sheet.save(path("sheet.png")));

    const Outcome result = run("import sheet.png -o sprites.h");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(run("show sprites.h").out, "Hero\n" + kHeroPicture + "\nShip\n"
                                             + "########\n########\n########\n########\n########\n########\n"
                                               "########\n########\n\n");
    EXPECT_NE(read("sprites.h").find("\n// ships\nstatic unsigned char Shiplight[]={0xFF,"),
              std::string::npos);

    // An index that cannot be read is said, and nothing is imported.
    writeHeroPng(path("odd.png"));
    QDir(dir.path()).mkdir(QStringLiteral("odd.txt"));
    const std::string before = read("sprites.h");
    const Outcome refused = run("import odd.png -o sprites.h");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("odd.txt"), std::string::npos) << refused.err;
    EXPECT_EQ(read("sprites.h"), before);
}

// Tiles of byte arrays.

std::string fileBytes(const std::string& file)
{
    QFile in(QString::fromStdString(file));
    return in.open(QIODevice::ReadOnly) ? in.readAll().toStdString() : std::string("(missing)");
}

// The name lines of a listing: the lines that are neither empty nor rows.
std::vector<std::string> nameLines(const std::string& listing)
{
    std::vector<std::string> names;
    for (std::size_t start = 0; start < listing.size();) {
        const std::size_t end = listing.find('\n', start);
        const std::string line = listing.substr(start, end - start);
        if (line.find_first_not_of(".+*#") != std::string::npos)
            names.push_back(line);
        start = end == std::string::npos ? listing.size() : end + 1;
    }
    return names;
}

// "NAME[0] (ID)" ... "NAME[count - 1] (ID)".
std::vector<std::string> tileLines(const std::string& array, const std::string& id, int count)
{
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(array + "[" + std::to_string(i) + "] (" + id + ")");
    return lines;
}

const char* const kTileSamples[] = {"adafruit_logo.h",   "arduboy_player.h", "arduino_pair.h",
                                    "converter_tiles.c", "cursor.xbm.h",     "font8x8.h",
                                    "gb_designer.c",     "nes_chr.h"};

class TileSample : public CommandLine, public ::testing::WithParamInterface<const char*> {
protected:
    void copySample(const std::string& name) const
    {
        write(name.c_str(), fileBytes(BITLOOM_TILE_SAMPLES "/" + name));
    }
};

// `show` and `show --textconv` of each sample, byte for byte as the files in
// tests/cli/golden have them (BITLOOM_UPDATE_GOLDEN=1 rewrites those).
TEST_P(TileSample, ShowsAsItsGoldenFilesSay)
{
    const std::string name = GetParam();
    copySample(name);
    for (const std::string mode : {"show", "textconv"}) {
        const Outcome result = run((mode == "show" ? "show " : "show --textconv ") + name);
        EXPECT_EQ(result.status, 0) << mode;
        EXPECT_EQ(result.err, "") << mode;
        const std::string golden = BITLOOM_GOLDEN "/" + name + "." + mode;
        if (std::getenv("BITLOOM_UPDATE_GOLDEN")) {
            QFile out(QString::fromStdString(golden));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(result.out.data(), qint64(result.out.size()));
        }
        EXPECT_EQ(result.out, fileBytes(golden)) << mode;
    }
    const Outcome check = run("check " + name);
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out, "");
}

INSTANTIATE_TEST_SUITE_P(Samples, TileSample, ::testing::ValuesIn(kTileSamples),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST_F(CommandLine, LayoutOptionsOverrideWhatTheFileSays)
{
    for (const char* sample : {"gb_designer.c", "cursor.xbm.h", "nes_chr.h"})
        write(sample, fileBytes(BITLOOM_TILE_SAMPLES "/" + std::string(sample)));
    const struct {
        const char* arguments;
        std::vector<std::string> names;
    } cases[] = {
        {"show gb_designer.c", tileLines("ShipTiles", "gb", 4)},
        {"show --layout nes gb_designer.c", tileLines("ShipTiles", "nes", 4)},
        {"show --layout ShipTiles=rows:16 gb_designer.c", {"ShipTiles (rows, 16\u00D732)"}},
        // An array's own option wins over one for every array, in any order.
        {"show --layout ShipTiles=columns --layout nes gb_designer.c", tileLines("ShipTiles", "columns", 8)},
        {"show --layout other=nes gb_designer.c", tileLines("ShipTiles", "gb", 4)},
        {"show --layout cursor_bits=rows-lsb:8 cursor.xbm.h", tileLines("cursor_bits", "rows-lsb", 4)},
        {"show --layout gb nes_chr.h", tileLines("CHR", "gb", 16)},
    };
    for (const auto& c : cases) {
        const Outcome result = run(c.arguments);
        EXPECT_EQ(result.status, 0) << c.arguments;
        EXPECT_EQ(nameLines(result.out), c.names) << c.arguments;
    }

    for (const char* command : {"show", "check", "export -o out.png"}) {
        const Outcome result = run(std::string(command) + " --layout snes gb_designer.c");
        EXPECT_EQ(result.status, 2) << command;
        EXPECT_EQ(result.out, "") << command;
        EXPECT_EQ(result.err.find("bitloom " + std::string(command).substr(0, std::string(command).find(' '))
                                  + ": unknown layout \"snes\": the layouts are gb, nes, rows, rows-lsb and "
                                    "columns\n"),
                  0u)
            << result.err;
    }
    EXPECT_EQ(run("show --layout ShipTiles=rows:wide gb_designer.c").status, 2);
    EXPECT_FALSE(QFile::exists(path("out.png")));
}

TEST_F(CommandLine, CheckWarnsOfBitmapDataThatFitsNoLayoutAndOfNothingFound)
{
    // The comment makes every array after it Game Boy tiles: three and five
    // bytes fill none.
    write("odd.h", "// layout: gb\n"                                    // 1
                   "static unsigned char icons[] = {1, 2, 3};\n"        // 2
                       + kHeroLight + "\n"                              // 3
                       + "static unsigned char data[] = {1,2,3,4,5};\n" // 4
    );
    const Outcome result = run("check odd.h");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "odd.h:2: warning: icons looks like bitmap data but fits no layout\n"
              "odd.h:3: warning: Herolight has no dark declaration; its dark rows are taken as 0\n"
              "odd.h:4: warning: data looks like bitmap data but fits no layout\n");
    // show says the same beside what it shows.
    const Outcome shown = run("show odd.h");
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.err, result.out);
    // As 1-bit rows, five bytes are an image five rows high.
    const Outcome chosen = run("check --layout data=rows odd.h");
    EXPECT_EQ(chosen.out,
              "odd.h:2: warning: icons looks like bitmap data but fits no layout\n"
              "odd.h:3: warning: Herolight has no dark declaration; its dark rows are taken as 0\n");
    EXPECT_EQ(nameLines(run("show --layout data=rows odd.h").out),
              (std::vector<std::string>{"Hero", "data[0] (rows)"}));

    write("empty.h", "");
    write("table.c", "const unsigned char crc_table[16] = {0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15};\n");
    const Outcome nothing = run("check empty.h table.c");
    EXPECT_EQ(nothing.status, 0);
    EXPECT_EQ(nothing.out, "empty.h: warning: no sprites or tiles found\n"
                           "table.c: warning: no sprites or tiles found\n");
    EXPECT_EQ(run("check --layout rows table.c").out, "");
}

TEST_F(CommandLine, TextconvAddsTilePicturesAfterTheLineWhereTheArrayEnds)
{
    // One Game Boy tile, all grey.
    const std::string tiles =
        "static unsigned char tiles[]={0xFF,0,0xFF,0,0xFF,0,0xFF,0,0xFF,0,0xFF,0,0xFF,0,0xFF,0};";
    std::string grey = "// tiles[0] (gb)\n";
    for (int row = 0; row < 8; ++row)
        grey += "// ++++++++\n";
    // After a sprite that ends on the same line, and on a last line with no
    // line feed of its own.
    const std::string together = kHeroLight + " " + kHeroDark + " " + tiles;
    write("together.h", together);
    EXPECT_EQ(run("show --textconv together.h").out, together + "\n" + commented(kHeroPicture) + grey);
    // A lone carriage return ends a line too.
    const std::string classic = "int a;\r" + tiles + "\rint b;\n";
    write("classic.h", classic);
    EXPECT_EQ(run("show --textconv classic.h").out, "int a;\r" + tiles + "\r" + grey + "int b;\n");
}

TEST_F(CommandLine, ExportWritesTilesOfArraysAfterThePairs)
{
    // ufo[0]: a black diagonal; ufo[1]: all grey.
    const std::string text =
        kHeroLight + "\n" + kHeroDark + "\n// layout: gb\nconst unsigned char ufo[] = {\n"
        + "  0x80,0x80,0x40,0x40,0x20,0x20,0x10,0x10,0x08,0x08,0x04,0x04,0x02,0x02,0x01,0x01,\n"
        + "  0xFF,0x00,0xFF,0x00,0xFF,0x00,0xFF,0x00,0xFF,0x00,0xFF,0x00,0xFF,0x00,0xFF,0x00\n" + "};\n";
    write("ufo.h", text);
    const Outcome result = run("export ufo.h -o sheet.png");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(read("sheet.txt"), "0 Hero\n1 ufo[0]\n2 ufo[1]\n");
    const QImage sheet(path("sheet.png"));
    ASSERT_EQ(sheet.size(), QSize(24, 8));
    EXPECT_EQ(sheet.pixel(8, 0), qRgb(0, 0, 0));
    EXPECT_EQ(sheet.pixel(9, 0), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(sheet.pixel(15, 7), qRgb(0, 0, 0));
    EXPECT_EQ(sheet.pixel(20, 5), qRgb(0x80, 0x80, 0x80));

    ASSERT_EQ(run("export ufo.h -o one.png --sprite 'ufo[0]' --scale 2").status, 0);
    const QImage one(path("one.png"));
    ASSERT_EQ(one.size(), QSize(16, 16));
    EXPECT_EQ(one.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(one.pixel(2, 0), qRgb(0xFF, 0xFF, 0xFF));
    // Read as NES tiles, row 0 of ufo[0] is grey at its left end.
    ASSERT_EQ(run("export ufo.h -o nes.png --sprite 'ufo[0]' --layout ufo=nes").status, 0);
    EXPECT_EQ(QImage(path("nes.png")).pixel(0, 0), qRgb(0x80, 0x80, 0x80));

    for (const char* name : {"ufo[2]", "ufo[01]", "ufo"}) {
        const Outcome missing = run(std::string("export ufo.h -o x.png --sprite '") + name + "'");
        EXPECT_EQ(missing.status, 1) << name;
        EXPECT_EQ(missing.err, std::string("ufo.h: error: there is no sprite named \"") + name + "\"\n");
    }

    // Import writes pair sprites only: an index naming tiles is refused whole.
    const Outcome back = run("import sheet.png -o ufo.h");
    EXPECT_EQ(back.status, 1);
    EXPECT_EQ(back.err.find("sheet.png: error: \"ufo[0]\" names a tile of the array ufo"), 0u) << back.err;
    EXPECT_EQ(read("ufo.h"), text);
}

} // namespace

// The sprites in Game Boy layout, as convert writes them into "tiles.h".
const std::string kSpritesGb =
    "#ifndef TILES_H\n"
    "#define TILES_H\n"
    "\n"
    "#include <stdint.h>\n"
    "\n"
    "// layout: gb, 2 tiles\n"
    "#define tiles_TILE_COUNT 2\n"
    "\n"
    "const uint8_t tiles[32] = {\n"
    "    0x01,0x81,0x02,0x00,0x04,0x00,0x08,0x00,0x10,0x00,0x20,0x00,0x40,0x00,0x80,0xff, "
    "// Hero\n"
    "    0xf0,0x00,0x0f,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00, "
    "// Ship\n"
    "};\n"
    "\n"
    "#endif\n";

TEST_F(CommandLine, ConvertWritesAWholeHeaderToAFileOrStandardOutput)
{
    write("sprites.h", kSprites);
    write("tiles.h", "an older file, replaced and never merged\n");
    const Outcome result = run("convert sprites.h -o tiles.h --layout gb");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(read("tiles.h"), kSpritesGb);

    const Outcome piped = run("convert - -o - --layout gb --name tiles", kSprites);
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, kSpritesGb);

    // Pairs give back the sprites as they were: the same bytes in each pair.
    ASSERT_EQ(run("convert tiles.h -o pairs.h --layout pairs").status, 0);
    EXPECT_EQ(read("pairs.h"),
              "#ifndef PAIRS_H\n#define PAIRS_H\n\n#include <stdint.h>\n\n"
              "// layout: pairs, 2 sprites\n#define pairs_TILE_COUNT 2\n\n"
              "static unsigned char tiles_0light[]={0x01,0x02,0x04,0x08,0x10,0x20,0x40,0x80}; // Hero\n"
              "static unsigned char tiles_0dark[]={0x81,0x00,0x00,0x00,0x00,0x00,0x00,0xFF};\n"
              "static unsigned char tiles_1light[]={0xF0,0x0F,0x00,0x00,0x00,0x00,0x00,0x00}; // Ship\n"
              "static unsigned char tiles_1dark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\n\n"
              "#endif\n");
    // The array written again, under the same file name elsewhere, is the same file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("again")));
    ASSERT_EQ(run("convert tiles.h -o again/tiles.h --layout gb").status, 0);
    EXPECT_EQ(read("again/tiles.h"), kSpritesGb);
    EXPECT_EQ(run("convert sprites.h -o - --layout pairs --sprite Ship --style progmem").out,
              "#ifndef SPRITES_H\n#define SPRITES_H\n\n#include <stdint.h>\n#include <avr/pgmspace.h>\n\n"
              "// layout: pairs, 1 sprite\n#define sprites_TILE_COUNT 1\n\n"
              "const uint8_t Shiplight[8] PROGMEM = {0xf0,0x0f,0x00,0x00,0x00,0x00,0x00,0x00};\n"
              "const uint8_t Shipdark[8] PROGMEM = {0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\n\n#endif\n");
}

TEST_F(CommandLine, ConvertNamesTheSpritesWhoseGreysAOneBitLayoutMapped)
{
    write("sprites.h", kSprites);
    const Outcome rows = run("convert sprites.h -o rows.h --layout rows --sprite Ship --sprite Hero");
    EXPECT_EQ(rows.status, 0);
    EXPECT_EQ(rows.err,
              "sprites.h: warning: rows holds white and black only; grey became white and dark grey "
              "black in \"Ship\", \"Hero\"\n");
    EXPECT_NE(read("rows.h").find("    0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00, // Ship\n"
                                  "    0x81,0x00,0x00,0x00,0x00,0x00,0x00,0xff, // Hero\n"),
              std::string::npos);
}

TEST_F(CommandLine, ConvertReadsImagesAsImportDoes)
{
    write("sprites.h", kSprites);
    ASSERT_EQ(run("export sprites.h -o sheet.png").status, 0);
    // The index beside the image names the tiles.
    EXPECT_EQ(run("convert sheet.png -o tiles.h --layout gb").status, 0);
    EXPECT_EQ(read("tiles.h"), kSpritesGb);
    // From standard input the tiles are named as import names them.
    QFile image(path("sheet.png"));
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    const Outcome piped = run("convert - -o - --layout pairs", image.readAll().toStdString());
    EXPECT_EQ(piped.status, 0);
    EXPECT_NE(piped.out.find("static unsigned char tile1light[]={0xF0,0x0F,"), std::string::npos)
        << piped.out;
}

TEST_F(CommandLine, ConvertRefusals)
{
    write("sprites.h", kSprites);
    write("notes.h", "// no sprites here\n");
    QImage odd(9, 8, QImage::Format_RGB32);
    odd.fill(Qt::white);
    ASSERT_TRUE(odd.save(path("odd.png")));
    const struct {
        const char* arguments;
        int status;
        const char* message;
    } cases[] = {
        {"sprites.h -o out.h --layout gameboy", 2,
         "bitloom convert: unknown layout \"gameboy\"; the layouts are gb, nes, rows, rows-lsb, columns and "
         "pairs\n"},
        {"sprites.h -o out.h", 2, "bitloom convert: --layout ID is missing\n"},
        {"sprites.h -o out.h --layout gb --layout nes", 2, "bitloom convert: give one --layout ID for OUT\n"},
        {"sprites.h -o out.h --layout gb --style static", 2,
         "bitloom convert: unknown style \"static\"; the styles are own, const and progmem\n"},
        {"sprites.h -o out.h --layout gb --name 8x8", 2,
         "bitloom convert: --name \"8x8\" is not a C identifier\n"},
        {"sprites.h --layout gb", 2, "bitloom convert: -o OUT is missing\n"},
        {"sprites.h -o ./sprites.h --layout gb", 2,
         "bitloom convert: the output \"./sprites.h\" is the input file\n"},
        {"missing.h -o out.h --layout gb", 1, "missing.h: error: No such file or directory\n"},
        {"/dev/zero -o out.h --layout gb", 1, "/dev/zero: error: It is larger than 64 MiB.\n"},
        {"sprites.h -o nowhere/out.h --layout gb", 1, "nowhere/out.h: error: No such file or directory\n"},
        {"odd.png -o out.h --layout gb", 1,
         "odd.png: error: \"odd.png\" is 9 x 8 pixels; its width and height must be multiples of 8. Nothing "
         "was "
         "imported.\n"},
        {"sprites.h -o out.h --layout gb --sprite Nobody", 1,
         "sprites.h: error: there is no sprite, tile or array named \"Nobody\"\n"},
        {"notes.h -o out.h --layout gb", 1, "notes.h: error: there are no sprites or tiles to convert\n"},
    };
    for (const auto& c : cases) {
        const Outcome result = run(std::string("convert ") + c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments;
        EXPECT_TRUE(result.err.starts_with(c.message)) << c.arguments << "\n" << result.err;
        EXPECT_EQ(result.out, "") << c.arguments;
        EXPECT_FALSE(QFile::exists(path("out.h"))) << c.arguments;
    }
}

TEST_F(CommandLine, ImportIntoAnArrayRewritesItsTilesOrAppendsOne)
{
    write("sprites.h", kSprites);
    ASSERT_EQ(run("export sprites.h -o sheet.png").status, 0);
    // No such array: one follows the last declaration, in its head.
    const std::string tiles = "// tiles\r\nstatic const uint8_t PROGMEM other[] = {1, 2, 3};\r\n#endif\r\n";
    write("tiles.h", tiles);
    const Outcome added = run("import sheet.png -o tiles.h --layout gb --name ufo");
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(
        read("tiles.h"),
        "// tiles\r\nstatic const uint8_t PROGMEM other[] = {1, 2, 3};\r\n"
        "static const uint8_t PROGMEM ufo[32] = {\r\n"
        "    0x01,0x81,0x02,0x00,0x04,0x00,0x08,0x00,0x10,0x00,0x20,0x00,0x40,0x00,0x80,0xff, // Hero\r\n"
        "    0xf0,0x00,0x0f,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00, // Ship\r\n"
        "};\r\n#endif\r\n");

    // As many tiles: rewritten in place, each number in its own notation.
    write("tiles.h", "#define UFO_TILE_COUNT 2\nconst unsigned char ufo[] =\n{\n"
                     "    0b1, 1, 0x02, 0X00, 4, 0, 8, 0, 16, 0, 32, 0, 64, 0, 128, 255, // a comment\n"
                     "    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,\n};\n");
    EXPECT_EQ(run("import sheet.png -o tiles.h --layout gb --name ufo").status, 0);
    EXPECT_EQ(read("tiles.h"),
              "#define UFO_TILE_COUNT 2\nconst unsigned char ufo[] =\n{\n"
              "    0b1, 129, 0x02, 0X00, 4, 0, 8, 0, 16, 0, 32, 0, 64, 0, 128, 255, // a comment\n"
              "    240, 0, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,\n};\n");

    // Another number of tiles: refused, the file stays.
    const std::string one = "const uint8_t ufo[16] = {0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0};\n";
    write("tiles.h", one);
    const Outcome refused = run("import sheet.png -o tiles.h --layout gb --name ufo");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "tiles.h: error: the array \"ufo\" holds 1 tiles and the image 2; a count is also in "
              "defines and comments that import does not rewrite, so nothing was imported\n");
    EXPECT_EQ(read("tiles.h"), one);
    EXPECT_EQ(run("import sheet.png -o tiles.h --layout gameboy").status, 2);
    EXPECT_EQ(run("import sheet.png -o tiles.h --name ufo").status, 2);
}
