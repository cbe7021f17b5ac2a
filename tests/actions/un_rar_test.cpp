#include "actions/un_rar.h"
#include "tests/actions/scripted_unrar.h"
#include "tests/support/fake_file_dialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#ifdef _WIN32
#include <windows.h>
#define FAKE_HOST_EXPORT __declspec(dllexport)
#define FAKE_MODULE_SUFFIX ".dll"
#else
#include <dlfcn.h>
#define FAKE_HOST_EXPORT __attribute__((visibility("default")))
#define FAKE_MODULE_SUFFIX ".so"
#endif

#include <cstring>

#include <memory>
#include <string>
#include <vector>

using namespace kelvox;

namespace {

ScriptedUnrar* current_script = nullptr;

QString module_path(const char* variant) {
    return QStringLiteral(FAKE_UNRAR_DIR "/lib%1" FAKE_MODULE_SUFFIX).arg(QLatin1String(variant));
}

bool module_loaded(const QString& path) {
#ifdef _WIN32
    return GetModuleHandleW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16())) !=
           nullptr;
#else
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
#endif
}

} // namespace

extern "C" FAKE_HOST_EXPORT FakeUnrarHost* kelvox_fake_unrar_host() {
    return current_script;
}

class UnRarTest : public ::testing::Test {
protected:
    void SetUp() override { current_script = &script; }
    void TearDown() override {
        unrar.reset();
        current_script = nullptr;
    }

    TUnRar& make(const char* variant = "fake_unrar", bool exceptions = false) {
        module = module_path(variant);
        unrar = std::make_unique<TUnRar>(dialogs, [this](const QString& name) {
            requested_modules.push_back(name);
            return DynamicLibrary::load_file(module);
        });
        unrar->SetExceptionOnError(exceptions);
        unrar->SetArchiveName(QStringLiteral("disc\\pack.rar"));
        return *unrar;
    }

    static ScriptedHeader file(const std::string& name, unsigned int flags = 0) {
        ScriptedHeader header;
        header.file_name = name;
        header.flags = flags;
        return header;
    }

    ScriptedUnrar script;
    FakeFileDialogs dialogs;
    QString module;
    std::vector<QString> requested_modules;
    std::unique_ptr<TUnRar> unrar;
};

// The known statuses' texts are checked where a failure gives them; these are the ones that none does.
TEST(UnRarStatusTest, StatusesWithoutATextOfTheirOwnAreUnknownErrors) {
    for (const int status : {0, 1, 13, 200, 255}) {
        EXPECT_EQ(unrar_status_text(std::uint8_t(status)), QStringLiteral("Unknown error")) << status;
        const EUnRarError error{std::uint8_t(status)};
        EXPECT_EQ(error.status(), status);
        EXPECT_STREQ(error.what(), "Unknown error");
    }
}

TEST(UnRarStatusTest, FlagsDecodeIntoTheSetAndTheDictionarySize) {
    struct Case {
        unsigned int flags;
        std::uint8_t set;
        std::uint32_t dictionary;
    };
    const std::vector<Case> cases = {
        {0x00, 0x00, 64},  {0x01, 0x01, 64},  {0x02, 0x02, 64},  {0x08, 0x08, 64},   {0x10, 0x10, 64},
        {0x20, 0x00, 128}, {0x45, 0x05, 256}, {0x60, 0x00, 512}, {0x80, 0x00, 1024}, {0xA0, 0x00, 0},
        {0xC0, 0x00, 0},   {0xE0, 0x20, 0},   {0xFF, 0x3F, 0},   {0x8000, 0x00, 64}, {0x813F, 0x1F, 128},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decode_file_flags(c.flags).bits(), c.set) << std::hex << c.flags;
        EXPECT_EQ(decode_dictionary_size(c.flags), c.dictionary) << std::hex << c.flags;
    }
}

TEST_F(UnRarTest, MissingLibraryGivesStatus12) {
    unrar = std::make_unique<TUnRar>(dialogs, [this](const QString& name) {
        requested_modules.push_back(name);
        return std::unique_ptr<DynamicLibrary>();
    });
    unrar->SetExceptionOnError(false);
    EXPECT_FALSE(unrar->Open());
    EXPECT_EQ(unrar->Status(), 12);
    EXPECT_FALSE(unrar->ArchiveOpen());
    ASSERT_EQ(requested_modules.size(), 1u);
    EXPECT_EQ(requested_modules[0], QStringLiteral("UNRAR"));

    unrar->SetExceptionOnError(true);
    try {
        unrar->Open();
        FAIL() << "no exception";
    } catch (const EUnRarError& error) {
        EXPECT_EQ(error.status(), 12);
        EXPECT_EQ(error.message(), QStringLiteral("Couldn't open UNRAR.DLL"));
    }
    EXPECT_EQ(unrar->Status(), 12);
}

TEST_F(UnRarTest, MissingOpenEntryPointsGiveStatus12AndKeepTheLibraryLoaded) {
    for (const char* variant :
         {"fake_unrar_no_open", "fake_unrar_no_set_password", "fake_unrar_no_set_vol"}) {
        make(variant, true);
        try {
            unrar->Open();
            ADD_FAILURE() << variant << ": no exception";
        } catch (const EUnRarError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("Couldn't open UNRAR.DLL")) << variant;
        }
        EXPECT_EQ(unrar->Status(), 12) << variant;
        EXPECT_FALSE(unrar->ArchiveOpen()) << variant;
        EXPECT_TRUE(script.opened_names.empty()) << variant;
        EXPECT_TRUE(module_loaded(module)) << variant;
        unrar.reset();
        EXPECT_FALSE(module_loaded(module)) << variant;
    }
}

TEST_F(UnRarTest, LaterEntryPointsMissingUnloadTheLibrary) {
    // Without RARReadHeader the open itself reads no header.
    make("fake_unrar_no_read_header");
    EXPECT_FALSE(unrar->Open());
    EXPECT_EQ(unrar->Status(), 12);
    EXPECT_TRUE(unrar->ArchiveOpen());
    EXPECT_FALSE(module_loaded(module));
    // The library is gone, so nothing can be closed; the component ends closed all the same.
    EXPECT_FALSE(unrar->Close());
    EXPECT_EQ(unrar->Status(), 12);
    EXPECT_FALSE(unrar->ArchiveOpen());
    EXPECT_TRUE(unrar->Eof());

    script.headers = {file("a.txt")};
    make("fake_unrar_no_process");
    EXPECT_TRUE(unrar->Open());
    EXPECT_FALSE(unrar->Process(TRarOperation::Extract, QString()));
    EXPECT_EQ(unrar->Status(), 12);
    EXPECT_FALSE(module_loaded(module));
    // No library, so the password stays with the component.
    unrar->SetPassword(QStringLiteral("tajne"));
    EXPECT_TRUE(script.passwords.empty());

    script.headers = {file("a.txt")};
    make("fake_unrar_no_close");
    EXPECT_TRUE(unrar->Open());
    EXPECT_FALSE(unrar->Close());
    EXPECT_EQ(unrar->Status(), 12);
    EXPECT_FALSE(unrar->ArchiveOpen());
    EXPECT_FALSE(module_loaded(module));
}

TEST_F(UnRarTest, FailedOpenTranslatesTheLibraryResult) {
    struct Case {
        unsigned int open_result;
        int status;
        const char* text;
    };
    const std::vector<Case> cases = {
        {ERAR_BAD_ARCHIVE, 4, "Bad archive"},
        {ERAR_NO_MEMORY, 2, "Not enough memory"},
        {ERAR_BAD_DATA, 3, "Bad data"},
        {ERAR_EOPEN, 5, "Open error"},
        {ERAR_UNKNOWN, 5, "Open error"},
        {ERAR_UNKNOWN_FORMAT, 5, "Open error"},
        // No handle but no error either: still a failure, never a success.
        {ERAR_SUCCESS, 5, "Open error"},
    };
    script.open_succeeds = false;
    make();
    for (const auto& c : cases) {
        script.open_result = c.open_result;
        unrar->SetExceptionOnError(false);
        EXPECT_FALSE(unrar->Open());
        EXPECT_EQ(unrar->Status(), c.status) << c.open_result;
        EXPECT_FALSE(unrar->ArchiveOpen());
        EXPECT_TRUE(unrar->Eof());
        unrar->SetExceptionOnError(true);
        try {
            unrar->Open();
            ADD_FAILURE() << c.open_result << ": no exception";
        } catch (const EUnRarError& error) {
            EXPECT_EQ(error.status(), c.status);
            EXPECT_EQ(error.message(), QLatin1String(c.text));
        }
    }
    // Loaded by the failed opens and kept until the component goes.
    EXPECT_TRUE(module_loaded(module));
    unrar.reset();
    EXPECT_FALSE(module_loaded(module));
}

TEST_F(UnRarTest, OpenHandsTheLibraryNameModeCommentBufferPasswordAndCallback) {
    for (const bool extract : {false, true}) {
        script = ScriptedUnrar();
        script.headers = {file("a.txt")};
        script.archive_comment = "Komentarz";
        script.archive_cmt_state = 1;
        make();
        unrar->SetExtract(extract);
        unrar->SetPassword(extract ? QStringLiteral("haslo") : QString());
        ASSERT_TRUE(unrar->Open());
        EXPECT_EQ(unrar->Status(), 1);
        EXPECT_TRUE(unrar->ArchiveOpen());
        EXPECT_FALSE(unrar->Eof());
        EXPECT_TRUE(module_loaded(module));
        ASSERT_EQ(script.opened_names.size(), 1u);
        EXPECT_EQ(script.opened_names[0], "disc/pack.rar");
        EXPECT_EQ(script.open_modes[0], extract ? unsigned(RAR_OM_EXTRACT) : unsigned(RAR_OM_LIST));
        EXPECT_EQ(script.comment_buffer_sizes, (std::vector<unsigned int>{65536, 65536}));
        EXPECT_EQ(script.passwords, extract ? std::vector<std::string>{"haslo"} : std::vector<std::string>{});
        EXPECT_NE(script.volume_callback, nullptr);
        EXPECT_EQ(unrar->Comment(), QStringLiteral("Komentarz"));
        EXPECT_EQ(unrar->CommentState(), 1);
        EXPECT_EQ(unrar->FileName(), QStringLiteral("a.txt"));
        EXPECT_TRUE(unrar->Close());
        EXPECT_EQ(unrar->Status(), 1);
        EXPECT_FALSE(module_loaded(module));
    }
}

TEST_F(UnRarTest, CommentStatesMapOrStay) {
    const std::vector<std::pair<unsigned int, int>> cases = {
        {1, 1},
        {ERAR_NO_MEMORY, 2},
        {7, 2},
        {ERAR_BAD_DATA, 3},
        {ERAR_UNKNOWN_FORMAT, 4},
        {ERAR_SMALL_BUF, 4},
        {0, 0},
    };
    make();
    for (const auto& [library_state, expected] : cases) {
        script.archive_cmt_state = library_state;
        ScriptedHeader header = file("a.txt");
        header.cmt_state = library_state;
        script.headers = {header};
        ASSERT_TRUE(unrar->Open());
        EXPECT_EQ(unrar->CommentState(), expected) << library_state;
        EXPECT_EQ(unrar->FileCommentState(), expected) << library_state;
        ASSERT_TRUE(unrar->Close());
    }
}

TEST_F(UnRarTest, AnUnterminatedCommentIsReadWithinItsBuffer) {
    script.overfill_comment = true;
    script.headers = {file("a.txt")};
    make();
    ASSERT_TRUE(unrar->Open());
    EXPECT_EQ(unrar->Comment().size(), 65536);
    EXPECT_EQ(unrar->FileComment().size(), 65536);
}

TEST_F(UnRarTest, HeaderFieldsAreCopied) {
    ScriptedHeader first = file("dir\\a.txt", 0x45);
    first.arc_name = "pack.part2.rar";
    first.pack_size = 1234;
    first.unp_size = 5678;
    first.host_os = 3;
    first.file_crc = 0xDEADBEEF;
    first.file_time = 0x5A2B3C4D;
    first.unp_ver = 20;
    first.method = 0x33;
    first.file_attr = 0100644;
    first.comment = "plik";
    first.cmt_state = 1;
    ScriptedHeader second = file("dir", 0xE0);
    second.host_os = 5; // not one of the four known systems: the last value stays
    script.headers = {first, second};
    make();
    ASSERT_TRUE(unrar->Open());
    EXPECT_EQ(unrar->ArchiveName(), QStringLiteral("pack.part2.rar"));
    EXPECT_EQ(unrar->FileName(), QStringLiteral("dir\\a.txt"));
    EXPECT_TRUE(unrar->FileFlags().contains(TRarFileFlag::ContinuedFromPrevious));
    EXPECT_TRUE(unrar->FileFlags().contains(TRarFileFlag::Encrypted));
    EXPECT_EQ(unrar->FileFlags().bits(), 0x05);
    EXPECT_EQ(unrar->DictionarySize(), 256u);
    EXPECT_EQ(unrar->PackSize(), 1234u);
    EXPECT_EQ(unrar->UnpSize(), 5678u);
    EXPECT_EQ(unrar->HostOS(), 3);
    EXPECT_EQ(unrar->FileCRC(), 0xDEADBEEFu);
    EXPECT_EQ(unrar->FileTime(), 0x5A2B3C4Du);
    EXPECT_EQ(unrar->UnpVer(), 20u);
    EXPECT_EQ(unrar->Method(), 0x33u);
    EXPECT_EQ(unrar->FileAttr(), 0100644u);
    EXPECT_EQ(unrar->FileComment(), QStringLiteral("plik"));
    EXPECT_EQ(unrar->FileCommentState(), 1);

    ASSERT_TRUE(unrar->ReadHeader());
    EXPECT_EQ(unrar->FileName(), QStringLiteral("dir"));
    EXPECT_EQ(unrar->FileFlags().bits(), 0x20);
    EXPECT_TRUE(unrar->FileFlags().contains(TRarFileFlag::Directory));
    EXPECT_EQ(unrar->DictionarySize(), 0u);
    EXPECT_EQ(unrar->HostOS(), 3);
    EXPECT_EQ(unrar->ArchiveName(), QStringLiteral("volume.rar"));
    EXPECT_EQ(unrar->FileComment(), QString());
}

TEST_F(UnRarTest, OpenTwiceFailsAndKeepsTheFirstArchive) {
    script.headers = {file("a.txt"), file("b.txt")};
    make("fake_unrar", true);
    ASSERT_TRUE(unrar->Open());
    try {
        unrar->Open();
        FAIL() << "no exception";
    } catch (const EUnRarError& error) {
        EXPECT_EQ(error.status(), 5);
        EXPECT_EQ(error.message(), QStringLiteral("Open error"));
    }
    EXPECT_EQ(unrar->Status(), 5);
    EXPECT_TRUE(unrar->ArchiveOpen());
    EXPECT_EQ(script.opened_names.size(), 1u);
    EXPECT_TRUE(module_loaded(module));
    // The first archive goes on where it was.
    ASSERT_TRUE(unrar->ReadHeader());
    EXPECT_EQ(unrar->FileName(), QStringLiteral("b.txt"));
    ASSERT_TRUE(unrar->Close());
    EXPECT_EQ(script.closed, std::vector<void*>{script.handle()});
}

TEST_F(UnRarTest, EmptyArchiveOpensAtItsEndWithoutRaising) {
    make("fake_unrar", true);
    EXPECT_FALSE(unrar->Open());
    EXPECT_EQ(unrar->Status(), 6);
    EXPECT_TRUE(unrar->Eof());
    EXPECT_TRUE(unrar->ArchiveOpen());
    // Nothing to process at the end, and still nothing raised.
    EXPECT_FALSE(unrar->Process(TRarOperation::Extract, QString()));
    EXPECT_EQ(unrar->Status(), 6);
    EXPECT_TRUE(script.processed.empty());
    EXPECT_TRUE(unrar->Close());
    EXPECT_FALSE(unrar->ArchiveOpen());
    EXPECT_FALSE(module_loaded(module));
}

TEST_F(UnRarTest, ProcessWalksTheArchiveToItsEnd) {
    script.headers = {file("a.txt"), file("b.txt")};
    make("fake_unrar", true);
    unrar->SetDestPath(QStringLiteral("\\tmp\\cel"));
    ASSERT_TRUE(unrar->Open());
    EXPECT_TRUE(unrar->Process(TRarOperation::Extract, QString()));
    EXPECT_EQ(unrar->FileName(), QStringLiteral("b.txt"));
    EXPECT_FALSE(unrar->Process(TRarOperation::Skip, QStringLiteral("/tmp/inny.txt")));
    EXPECT_EQ(unrar->Status(), 6);
    EXPECT_TRUE(unrar->Eof());
    EXPECT_FALSE(unrar->Process(TRarOperation::Test, QString()));
    EXPECT_EQ(unrar->Status(), 6);

    ASSERT_EQ(script.processed.size(), 2u);
    EXPECT_EQ(script.processed[0].operation, RAR_EXTRACT);
    EXPECT_TRUE(script.processed[0].has_dest_path);
    EXPECT_EQ(script.processed[0].dest_path, "/tmp/cel");
    EXPECT_FALSE(script.processed[0].has_dest_name);
    EXPECT_EQ(script.processed[1].operation, RAR_SKIP);
    EXPECT_EQ(script.processed[1].dest_name, "/tmp/inny.txt");

    // An empty destination directory is the library's default, handed as null.
    script.headers = {file("a.txt")};
    unrar->SetDestPath(QString());
    ASSERT_TRUE(unrar->Close());
    ASSERT_TRUE(unrar->Open());
    unrar->Process(TRarOperation::Test, QString());
    ASSERT_EQ(script.processed.size(), 3u);
    EXPECT_EQ(script.processed[2].operation, RAR_TEST);
    EXPECT_FALSE(script.processed[2].has_dest_path);
}

TEST_F(UnRarTest, FailedProcessTranslatesTheLibraryResult) {
    struct Case {
        int result, status;
        const char* text;
    };
    const Case cases[] = {
        {ERAR_BAD_DATA, 3, "Bad data"},
        {ERAR_BAD_ARCHIVE, 4, "Bad archive"},
        {ERAR_UNKNOWN_FORMAT, 11, "Unknown file format"},
        {ERAR_EOPEN, 5, "Open error"},
        {ERAR_ECREATE, 8, "Create error"},
        {ERAR_ECLOSE, 7, "Close error"},
        {ERAR_EREAD, 9, "Read error"},
        {ERAR_EWRITE, 10, "Write error"},
        {ERAR_NO_MEMORY, 2, "Not enough memory"},
        {ERAR_UNKNOWN, 13, "Unknown error"},
        {ERAR_SMALL_BUF, 13, "Unknown error"},
    };
    make();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        script.headers = {file("a.txt")};
        script.process_results = {c.result};
        unrar->SetExceptionOnError(false);
        ASSERT_TRUE(unrar->Open());
        EXPECT_FALSE(unrar->Process(TRarOperation::Extract, QString()));
        EXPECT_EQ(unrar->Status(), c.status);
        EXPECT_FALSE(unrar->Eof());
        script.process_results = {c.result};
        unrar->SetExceptionOnError(true);
        try {
            unrar->Process(TRarOperation::Extract, QString());
            ADD_FAILURE() << "no exception";
        } catch (const EUnRarError& error) {
            EXPECT_EQ(error.message(), QLatin1String(c.text));
        }
        ASSERT_TRUE(unrar->Close());
    }
}

TEST_F(UnRarTest, HeaderReadErrorGivesStatus3) {
    script.headers = {file("a.txt")};
    script.result_after_headers = ERAR_BAD_DATA;
    make();
    ASSERT_TRUE(unrar->Open());
    EXPECT_FALSE(unrar->ReadHeader());
    EXPECT_EQ(unrar->Status(), 3);
    EXPECT_FALSE(unrar->Eof());
    EXPECT_TRUE(unrar->ArchiveOpen());

    unrar->SetExceptionOnError(true);
    script.result_after_headers = ERAR_EREAD;
    try {
        unrar->ReadHeader();
        FAIL() << "no exception";
    } catch (const EUnRarError& error) {
        EXPECT_EQ(error.status(), 3);
        EXPECT_EQ(error.message(), QStringLiteral("Bad data"));
    }
    // The same through Process, which reads the next header after the file.
    EXPECT_THROW(unrar->Process(TRarOperation::Skip, QString()), EUnRarError);
    EXPECT_EQ(unrar->Status(), 3);
}

TEST_F(UnRarTest, NothingOpenIsRefused) {
    make();
    EXPECT_FALSE(unrar->Close());
    EXPECT_EQ(unrar->Status(), 7);
    EXPECT_FALSE(unrar->ReadHeader());
    EXPECT_EQ(unrar->Status(), 5);
    EXPECT_FALSE(unrar->Process(TRarOperation::Extract, QString()));
    EXPECT_EQ(unrar->Status(), 5);
    unrar->SetExceptionOnError(true);
    try {
        unrar->Close();
        FAIL() << "no exception";
    } catch (const EUnRarError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Close error"));
    }
    EXPECT_TRUE(requested_modules.empty());
}

TEST_F(UnRarTest, FailedCloseStillUnloadsTheLibrary) {
    script.headers = {file("a.txt")};
    script.close_result = ERAR_ECLOSE;
    make();
    ASSERT_TRUE(unrar->Open());
    EXPECT_FALSE(unrar->Close());
    EXPECT_EQ(unrar->Status(), 7);
    EXPECT_FALSE(unrar->ArchiveOpen());
    EXPECT_FALSE(module_loaded(module));
}

TEST_F(UnRarTest, DestructionClosesAnOpenArchiveWithoutRaising) {
    script.headers = {file("a.txt")};
    script.close_result = ERAR_ECLOSE;
    make("fake_unrar", true);
    ASSERT_TRUE(unrar->Open());
    EXPECT_NO_THROW(unrar.reset());
    EXPECT_EQ(script.closed, std::vector<void*>{script.handle()});
    EXPECT_FALSE(module_loaded(module));
}

TEST_F(UnRarTest, SetPasswordReachesTheLibraryOnlyWhileOpen) {
    script.headers = {file("a.txt")};
    make();
    unrar->SetPassword(QStringLiteral("przed"));
    EXPECT_TRUE(script.passwords.empty());
    EXPECT_EQ(unrar->Password(), QStringLiteral("przed"));
    ASSERT_TRUE(unrar->Open());
    unrar->SetPassword(QStringLiteral("w trakcie"));
    EXPECT_EQ(script.passwords, (std::vector<std::string>{"przed", "w trakcie"}));
    EXPECT_EQ(unrar->Status(), 1);
}

TEST_F(UnRarTest, ActiveOpensAndCloses) {
    script.headers = {file("a.txt")};
    make();
    unrar->SetActive(true);
    EXPECT_TRUE(unrar->Active());
    EXPECT_EQ(unrar->FileName(), QStringLiteral("a.txt"));
    unrar->SetActive(false);
    EXPECT_FALSE(unrar->Active());
    EXPECT_EQ(script.closed.size(), 1u);
}

TEST_F(UnRarTest, VolumeCallbackAsksForAMissingVolume) {
    struct Case {
        int mode;
        QString pick;
        int answer;
        std::string name_after;
        bool asked;
    };
    const QString too_long(TUnRar::kVolumeNameSize, QLatin1Char('d'));
    const std::vector<Case> cases = {
        {RAR_VOL_NOTIFY, QStringLiteral("/nie/pytany.rar"), 1, "pack.part2.rar", false},
        {RAR_VOL_ASK, QStringLiteral("/media/cdrom/pack.part2.rar"), 1, "/media/cdrom/pack.part2.rar", true},
        {RAR_VOL_ASK, QString(), 0, "pack.part2.rar", true},
        {RAR_VOL_ASK, too_long, 0, "pack.part2.rar", true},
    };
    make();
    for (const auto& c : cases) {
        dialogs.questions.clear();
        dialogs.answer = c.pick;
        int answer = -1;
        std::vector<char> name(TUnRar::kVolumeNameSize, '#');
        std::strcpy(name.data(), "pack.part2.rar");
        script.headers = {file("a.txt")};
        script.during_process = [&] { answer = script.volume_callback(name.data(), c.mode); };
        ASSERT_TRUE(unrar->Open());
        unrar->Process(TRarOperation::Extract, QString());
        EXPECT_EQ(answer, c.answer) << c.mode << " " << c.pick.toStdString();
        EXPECT_STREQ(name.data(), c.name_after.c_str());
        ASSERT_EQ(dialogs.questions.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(dialogs.questions[0].title, QStringLiteral("Insert new disk"));
            EXPECT_EQ(dialogs.questions[0].file_name, QStringLiteral("pack.part2.rar"));
        }
        ASSERT_TRUE(unrar->Close());
    }
}

TEST_F(UnRarTest, VolumeCallbackOutsideAnyCallCancels) {
    script.headers = {file("a.txt")};
    make();
    ASSERT_TRUE(unrar->Open());
    char name[TUnRar::kVolumeNameSize] = "pack.part2.rar";
    dialogs.answer = QStringLiteral("/x.rar");
    EXPECT_EQ(script.volume_callback(name, RAR_VOL_ASK), 0);
    EXPECT_TRUE(dialogs.questions.empty());
}
