#include "data/TextFile.h"

#include "support/Fixture.h"

#include <QDir>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class TextFileTest : public ProgramDirTest {};

TEST_F(TextFileTest, Cp1250RoundTripByteForByte) {
    // ő and ű exist only in the Central European code page; Ж and ñ do not exist in it.
    const QStringList lines = {QStringLiteral("Árvíztűrő tükörfúrógép"), QStringLiteral("őŐűŰ €"), QString(),
                               QStringLiteral("Жñ end")};
    WriteCp1250Lines(path(QStringLiteral("lista.txt")), lines);
    const QByteArray expected = QByteArray("\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p\r\n"
                                           "\xF5\xD5\xFB\xDB \x80\r\n"
                                           "\r\n"
                                           "?? end\r\n");
    EXPECT_EQ(readFile(QStringLiteral("lista.txt")), expected);

    const QStringList back = ReadCp1250Lines(path(QStringLiteral("lista.txt")));
    ASSERT_EQ(back.size(), 4);
    EXPECT_EQ(back[0], lines[0]);
    EXPECT_EQ(back[1], lines[1]);
    EXPECT_EQ(back[2], QString());
    EXPECT_EQ(back[3], QStringLiteral("?? end"));
}

TEST(TextCodec, CountsTheCharactersItReplaced) {
    qsizetype replaced = 0;
    EXPECT_EQ(EncodeCp1250(QStringLiteral("Жñ ő"), &replaced), QByteArray("?? \xF5"));
    EXPECT_EQ(replaced, 2);
    EncodeCp1250(QStringLiteral("Árvíztűrő"), &replaced);
    EXPECT_EQ(replaced, 2);

    // A character outside the basic plane is one "?"; half of one is one too, even at the end.
    replaced = 0;
    const QChar high(0xD83D), low(0xDE00);
    EXPECT_EQ(EncodeCp1250(QString("a") + high + low + "b", &replaced), QByteArray("a?b"));
    EXPECT_EQ(EncodeCp1250(QString("a") + low + "b" + high, &replaced), QByteArray("a?b?"));
    EXPECT_EQ(EncodeCp1250(QString(high), &replaced), QByteArray("?"));
    EXPECT_EQ(replaced, 4);
    // The converter is used again: nothing of the held-back half carries into the next text.
    EXPECT_EQ(EncodeCp1250(QStringLiteral("c")), QByteArray("c"));
    EXPECT_EQ(EncodeCp1250(QString(low)), QByteArray("?"));
}

TEST_F(TextFileTest, LinesSplitOnEveryKindOfBreakAndTheLastBreakOpensNoLine) {
    EXPECT_EQ(TextLines(QStringLiteral("A\r\nB\nC\rD")), (QStringList{"A", "B", "C", "D"}));
    EXPECT_EQ(TextLines(QStringLiteral("A\r\n\r\n")), (QStringList{"A", ""}));
    EXPECT_TRUE(TextLines(QString()).isEmpty());
    EXPECT_EQ(LinesText({"A", " ", "B"}), QStringLiteral("A\n \nB\n"));

    writeFile(QStringLiteral("be.txt"), QByteArray("els\xF5\r\nm\xE1sodik"));
    EXPECT_EQ(ReadCp1250Lines(path(QStringLiteral("be.txt"))), (QStringList{"első", "második"}));
}

TEST_F(TextFileTest, FailuresRaiseAndKeepTheOldFile) {
    EXPECT_THROW(ReadCp1250Lines(path(QStringLiteral("nincs.txt"))), FileError);
    EXPECT_THROW(WriteCp1250Lines(path(QStringLiteral("nincs/ilyen/mappa.txt")), {"A"}), FileError);

    writeFile(QStringLiteral("regi.txt"), QByteArray("regi\r\n"));
    // A directory of the same name as the temporary file cannot be replaced.
    EXPECT_THROW(WriteCp1250Lines(dir(), {"A"}), FileError);
    EXPECT_EQ(readFile(QStringLiteral("regi.txt")), QByteArray("regi\r\n"));
}

// On a full disk the last block of a file may fail only when it is flushed, after every
// write said yes: the old file must stay, and the message must say that the disk is full.
TEST_F(TextFileTest, AFullDiskKeepsTheOldFileWhateverTheSizeOfTheNewOne) {
    SmallDisk disk(path(QStringLiteral("kicsi")), 128);
    if (!disk.ok())
        GTEST_SKIP() << "no right to mount a small file system";
    const QString target = path(QStringLiteral("kicsi/lista.txt"));
    writeFile(target, "regi\r\n");
    disk.fill(2048);
    for (int chars : {3000, 12000, 100000}) {
        const QString line(chars, QChar('a'));
        const QString lead = QStringLiteral("Megtelt a lemez, nincs hely a mentéshez.\n");
        try {
            WriteCp1250Lines(target, {line});
            ADD_FAILURE() << chars << ": no error";
        } catch (const FileError &e) {
            EXPECT_TRUE(e.message().startsWith(lead + QStringLiteral("A file nem írható: "))) << e.what();
        }
        try {
            Cp1250Writer w(target);
            w.line(line);
            w.finish();
            ADD_FAILURE() << chars << ": no error";
        } catch (const FileError &e) {
            EXPECT_TRUE(e.message().startsWith(lead + target + QStringLiteral(": "))) << e.what();
        }
        EXPECT_EQ(readFile(target), QByteArray("regi\r\n")) << chars;
    }
    EXPECT_EQ(QDir(path(QStringLiteral("kicsi"))).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase),
              QStringList({"kitoltes", "lista.txt"}));
}

// A disk with a page or two left takes the first part of a block and then nothing: the write
// comes back short with no error of its own, and the message must still say the disk is full.
TEST_F(TextFileTest, AWriteCutShortByANearlyFullDiskSaysTheDiskIsFull) {
    SmallDisk disk(path(QStringLiteral("kicsi")), 128);
    if (!disk.ok())
        GTEST_SKIP() << "no right to mount a small file system";
    disk.fill(8192);
    const QString target = path(QStringLiteral("kicsi/lista.csv"));
    try {
        Cp1250Writer w(target);
        w.line(QString(12000, QChar(u'á')));
        w.finish();
        ADD_FAILURE() << "no error";
    } catch (const FileError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Megtelt a lemez, nincs hely a mentéshez.\n") + target + ": "))
            << e.what();
    }
    EXPECT_EQ(QDir(path(QStringLiteral("kicsi"))).entryList(QDir::Files), QStringList({"kitoltes"}));
}

} // namespace
