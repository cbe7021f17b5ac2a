// The extractor over this repository's RAR module, on the shared fixture archives.
#include "actions/un_rar.h"
#include "tests/support/fake_file_dialogs.h"
#include "tools/rar_writer/rar_blocks.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>

using namespace kelvox;

namespace {

std::uint32_t crc32_of(const QByteArray& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= std::uint8_t(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QString fixture(const QString& relative) {
    const QByteArray shared = qgetenv("KELVOX_SHARED_DIR");
    if (shared.isEmpty())
        return {};
    const QString path = QFile::decodeName(shared) + QStringLiteral("/fixtures/rar/") + relative;
    return QFile::exists(path) ? path : QString();
}

QString slashed(QString name) {
    return name.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

class UnRarModuleTest : public ::testing::Test {
protected:
    TUnRar& make(const QString& archive) {
        unrar = std::make_unique<TUnRar>(dialogs, [](const QString& name) {
            return DynamicLibrary::load_file(QStringLiteral(UNRAR_MODULE));
        });
        unrar->SetExceptionOnError(false);
        unrar->SetArchiveName(archive);
        return *unrar;
    }

    FakeFileDialogs dialogs;
    std::unique_ptr<TUnRar> unrar;
};

} // namespace

TEST_F(UnRarModuleTest, ListsTheStoredArchive) {
    const QString archive = fixture(QStringLiteral("handmade/rar4-stored/stored.rar"));
    if (archive.isEmpty())
        GTEST_SKIP() << "no shared fixtures";
    make(archive);
    struct Seen {
        std::uint64_t size;
        std::uint32_t crc;
        bool directory;
    };
    std::map<QString, Seen> seen;
    bool more = unrar->Open();
    EXPECT_EQ(unrar->Status(), 1);
    while (more) {
        seen[slashed(unrar->FileName())] = {unrar->UnpSize(), unrar->FileCRC(),
                                            unrar->FileFlags().contains(TRarFileFlag::Directory)};
        more = unrar->Process(TRarOperation::Skip, QString());
    }
    EXPECT_EQ(unrar->Status(), 6);
    EXPECT_TRUE(unrar->Eof());
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[QStringLiteral("hello.txt")].size, 12u);
    EXPECT_EQ(seen[QStringLiteral("hello.txt")].crc, 0x79c6ea4cu);
    EXPECT_TRUE(seen[QStringLiteral("dir")].directory);
    EXPECT_FALSE(seen[QStringLiteral("dir/inner.txt")].directory);
    EXPECT_EQ(seen[QStringLiteral("dir/inner.txt")].crc, 0x5e0e5d8fu);
    EXPECT_EQ(seen[QStringLiteral("empty.txt")].size, 0u);
    EXPECT_TRUE(unrar->Close());
}

TEST_F(UnRarModuleTest, ExtractsTheStoredArchive) {
    const QString archive = fixture(QStringLiteral("handmade/rar4-stored/stored.rar"));
    if (archive.isEmpty())
        GTEST_SKIP() << "no shared fixtures";
    QTemporaryDir target;
    make(archive);
    unrar->SetExtract(true);
    unrar->SetDestPath(target.path());
    ASSERT_TRUE(unrar->Open());
    while (!unrar->Eof())
        ASSERT_TRUE(unrar->Process(TRarOperation::Extract, QString()) || unrar->Status() == 6)
            << int(unrar->Status());
    EXPECT_TRUE(unrar->Close());

    const std::vector<std::pair<QString, std::uint32_t>> files = {
        {QStringLiteral("hello.txt"), 0x79c6ea4cu},
        {QStringLiteral("dir/inner.txt"), 0x5e0e5d8fu},
        {QStringLiteral("empty.txt"), 0x00000000u},
    };
    for (const auto& [name, crc] : files) {
        QFile file(target.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(crc32_of(file.readAll()), crc) << name.toStdString();
    }
}

TEST_F(UnRarModuleTest, AsksForAMissingVolumeAndGoesOnWithThePick) {
    const QString first = fixture(QStringLiteral("handmade/rar4-vol-newnames/vol.part1.rar"));
    if (first.isEmpty())
        GTEST_SKIP() << "no shared fixtures";
    // The set is copied with its last two volumes moved away, where the user then finds the third; the
    // fourth is found beside it. Every folder has Polish letters, which the Windows code page lacks.
    QTemporaryDir temporary;
    const QDir work(temporary.filePath(QStringLiteral("płyta źródłowa")));
    ASSERT_TRUE(work.mkpath(QStringLiteral("gdzie indziej ż")));
    ASSERT_TRUE(work.mkpath(QStringLiteral("rozpakowane ąęł")));
    const QDir source = QFileInfo(first).dir();
    for (const QString& name : source.entryList({QStringLiteral("vol.part*.rar")})) {
        const QString to = name >= QLatin1String("vol.part3.rar")
                               ? work.filePath(QStringLiteral("gdzie indziej ż/") + name)
                               : work.filePath(name);
        ASSERT_TRUE(QFile::copy(source.filePath(name), to));
    }
    const QDir target(work.filePath(QStringLiteral("rozpakowane ąęł")));
    make(work.filePath(QStringLiteral("vol.part1.rar")));
    unrar->SetExtract(true);
    unrar->SetDestPath(target.path());
    dialogs.answer = work.filePath(QStringLiteral("gdzie indziej ż/vol.part3.rar"));
    ASSERT_TRUE(unrar->Open());
    while (!unrar->Eof())
        ASSERT_TRUE(unrar->Process(TRarOperation::Extract, QString()) || unrar->Status() == 6)
            << int(unrar->Status());
    EXPECT_TRUE(unrar->Close());

    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].title, QStringLiteral("Insert new disk"));
    EXPECT_TRUE(dialogs.questions[0].file_name.endsWith(QStringLiteral("vol.part3.rar")));
    const std::vector<std::pair<QString, std::uint32_t>> files = {{QStringLiteral("a.bin"), 0x670222cbu},
                                                                  {QStringLiteral("b.txt"), 0x87435b54u},
                                                                  {QStringLiteral("c.txt"), 0x7c37b45du}};
    for (const auto& [name, crc] : files) {
        QFile file(target.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(crc32_of(file.readAll()), crc) << name.toStdString();
    }
}

TEST_F(UnRarModuleTest, CancelledVolumeFailsTheFile) {
    const QString first = fixture(QStringLiteral("handmade/rar4-vol-newnames/vol.part1.rar"));
    if (first.isEmpty())
        GTEST_SKIP() << "no shared fixtures";
    QTemporaryDir work;
    ASSERT_TRUE(QFile::copy(first, work.filePath(QStringLiteral("vol.part1.rar"))));
    QTemporaryDir target;
    make(work.filePath(QStringLiteral("vol.part1.rar")));
    unrar->SetExtract(true);
    unrar->SetDestPath(target.path());
    ASSERT_TRUE(unrar->Open());
    EXPECT_FALSE(unrar->Process(TRarOperation::Extract, QString()));
    EXPECT_NE(unrar->Status(), 1);
    EXPECT_NE(unrar->Status(), 6);
    EXPECT_FALSE(dialogs.questions.empty());
    EXPECT_FALSE(QFile::exists(target.filePath(QStringLiteral("a.bin"))));
}

TEST_F(UnRarModuleTest, NotAnArchiveIsABadArchive) {
    QTemporaryDir work;
    QFile junk(work.filePath(QStringLiteral("junk.rar")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'j'));
    junk.close();
    make(junk.fileName());
    EXPECT_FALSE(unrar->Open());
    EXPECT_EQ(unrar->Status(), 4);
    EXPECT_FALSE(unrar->ArchiveOpen());
    EXPECT_TRUE(unrar->Eof());
}

// An entry over 4 GiB, its data a hole in a sparse file: only the headers are read.
TEST_F(UnRarModuleTest, SizesOverFourGiBAreWhole) {
    QTemporaryDir work;
    const std::uint64_t size = (std::uint64_t{5} << 30) + 7;
    RarBytes head = rar4_start(0);
    append(head, rar4_header({.name = "obraz.iso", .packed = size, .unpacked = size}));
    const RarBytes end = rar4_block(rar4::type_end, 0x4000, {});
    QFile archive(work.filePath(QStringLiteral("duze.rar")));
    ASSERT_TRUE(archive.open(QIODevice::WriteOnly));
    archive.write(reinterpret_cast<const char*>(head.data()), qint64(head.size()));
    ASSERT_TRUE(archive.seek(qint64(head.size() + size)));
    archive.write(reinterpret_cast<const char*>(end.data()), qint64(end.size()));
    archive.close();

    make(archive.fileName());
    ASSERT_TRUE(unrar->Open());
    EXPECT_EQ(unrar->FileName(), QStringLiteral("obraz.iso"));
    EXPECT_EQ(unrar->PackSize(), size);
    EXPECT_EQ(unrar->UnpSize(), size);
    EXPECT_FALSE(unrar->Process(TRarOperation::Skip, QString()));
    EXPECT_EQ(unrar->Status(), unrar_status::EndOfFile);
}
