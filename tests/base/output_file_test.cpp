// Output files: what they may replace, what a replaced file keeps, and that no
// temporary file outlives a signal that ends the program.
#include "base/output_file.h"
#include "base/output_room.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
protected:
    // Everything in the folder but the names given.
    std::vector<std::string> others(std::initializer_list<std::string> known) const {
        std::vector<std::string> left;
        for (const auto& e : fs::directory_iterator(dir))
            if (std::find(known.begin(), known.end(), e.path().filename()) == known.end()) left.push_back(e.path().filename());
        return left;
    }
    ScratchFolder scratch;
    const fs::path dir{scratch.path()};
};

// Something that is not a regular file is never replaced by one: each is refused,
// saying what it is, and stays what it was.
TEST_F(OutputFileTest, RefusesEveryTargetThatIsNoRegularFile) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        const char* said;
    } cases[] = {
        {"fifo", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }, "FIFO"},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }, "directory"},
        {"null", [](const fs::path& p) { fs::create_symlink("/dev/null", p); }, "symbolic link to a character device"},
        {"nowhere", [](const fs::path& p) { fs::create_symlink("missing", p); }, "symbolic link to nothing"},
        {"loop", [](const fs::path& p) { fs::create_symlink("loop", p); }, "loop"},
        {"socket",
         [](const fs::path& p) {
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             std::snprintf(address.sun_path, sizeof address.sun_path, "%s", p.c_str());
             ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << p;
             ::close(fd);
         },
         "socket"},
        {"device",
         [](const fs::path& p) {
             if (::mknod(p.c_str(), S_IFCHR | 0644, makedev(1, 7)) != 0) fs::create_symlink("/dev/full", p);
         },
         "character device"},
    };
    for (const Case& c : cases) {
        const fs::path target = dir / c.name;
        c.make(target);
        struct stat before {};
        ::lstat(target.c_str(), &before);
        std::string error;
        EXPECT_FALSE(OutputFile::create(target.string(), error)) << c.name;
        EXPECT_NE(error.find(c.said), std::string::npos) << c.name << ": " << error;
        struct stat after {};
        ::lstat(target.c_str(), &after);
        EXPECT_EQ(before.st_mode, after.st_mode) << c.name;
        EXPECT_EQ(before.st_ino, after.st_ino) << c.name;
    }
    EXPECT_TRUE(others({"fifo", "folder", "null", "nowhere", "loop", "socket", "device"}).empty());
}

TEST_F(OutputFileTest, AReplacedFileKeepsItsModeAndALinkStaysALink) {
    const fs::path key = dir / "key.txt", link = dir / "link.txt";
    std::ofstream(key) << "old";
    fs::permissions(key, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("key.txt", link);
    for (const fs::path& target : {key, link}) {
        std::string error;
        auto file = OutputFile::create(target.string(), error);
        ASSERT_TRUE(file) << error;
        ASSERT_TRUE(file->write("new " + target.filename().string(), error)) << error;
        ASSERT_TRUE(file->commit(error)) << error;
        EXPECT_EQ(fs::status(key).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(fileText(key), "new " + target.filename().string());
    }
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(others({"key.txt", "link.txt"}).empty());
}

// A name as long as a name may be still gets a temporary file beside it.
TEST_F(OutputFileTest, TakesTheLongestName) {
    const fs::path target = dir / (std::string(250, 'n') + ".wav");
    std::string error;
    auto file = OutputFile::create(target.string(), error);
    ASSERT_TRUE(file) << error;
    ASSERT_TRUE(file->write("x", error) && file->commit(error)) << error;
    EXPECT_EQ(fileText(target), "x");
}

TEST_F(OutputFileTest, SaysWhyAPlaceTakesNoFile) {
    struct Case { std::string target; const char* said; } cases[] = {
        {"/proc/version", "file system of the kernel's"},
        {"/proc/tessaly.wav", "file system of the kernel's"},
        {(dir / "missing" / "p.wav").string(), "does not exist"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(OutputFile::create(c.target, error)) << c.target;
        EXPECT_NE(error.find(c.said), std::string::npos) << c.target << ": " << error;
    }
}

TEST(OutputRoom, RefusesWhatCannotFitWithBothSizes) {
    EXPECT_EQ(roomProblem(::testing::TempDir() + "x.wav", 1000), "");
    EXPECT_NE(roomProblem(::testing::TempDir() + "x.wav", ~std::uint64_t{0} / 2).find("free"), std::string::npos);
    EXPECT_EQ(byteSize(999), "999 bytes");
    EXPECT_EQ(byteSize(20'000'000), "20.0 MB");
    EXPECT_EQ(byteSize(4'694'006'444), "4.69 GB");
}

// Every signal that ends the program by default removes the temporary files first.
TEST_F(OutputFileTest, NoTemporaryFileOutlivesASignalThatEndsTheProgram) {
    const int signals[] = {SIGHUP, SIGINT,  SIGQUIT,   SIGTERM, SIGALRM, SIGUSR1,  SIGUSR2,
                           SIGPIPE, SIGXCPU, SIGVTALRM, SIGPROF, SIGIO,   SIGRTMIN, SIGRTMAX};
    for (const int s : signals) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            for (int d : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) ::signal(d, SIG_DFL);
            removeTemporaryFilesOnInterrupt();
            std::string error;
            auto file = OutputFile::create((dir / "p.wav").string(), error);
            const char made = file ? 'y' : 'n';
            (void)!::write(ready[1], &made, 1);
            for (;;) ::pause();
        }
        char made = 0;
        ASSERT_EQ(::read(ready[0], &made, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        EXPECT_EQ(made, 'y');
        EXPECT_EQ(others({}).size(), 1u) << "the temporary file is there while the program runs";
        ::kill(child, s);
        int status = 0;
        ::waitpid(child, &status, 0);
        const bool ended = (WIFEXITED(status) && WEXITSTATUS(status) == 128 + s) || (WIFSIGNALED(status) && WTERMSIG(status) == s);
        EXPECT_TRUE(ended) << strsignal(s) << ": status " << status;
        EXPECT_TRUE(others({}).empty()) << strsignal(s) << ": a temporary file is left";
    }
}

}  // namespace
}  // namespace tessaly
