#include "util/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "util/format.h"
#include "util/interrupt.h"
#include "util/path_text.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

// The signals that end the program by default. While a file is open they only note that they
// came; the note is acted on when the file is closed. Files are written on one thread.
constexpr int kHeld[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kHeldCount = sizeof kHeld / sizeof kHeld[0];
volatile std::sig_atomic_t g_arrived = 0;
int g_holders = 0;
struct sigaction g_saved[kHeldCount];

extern "C" void NoteArrival(int signal) {
    g_arrived = signal;
}

void HoldSignals() {
    if (g_holders++ > 0) return;
    g_arrived = 0;
    struct sigaction note {};
    note.sa_handler = NoteArrival;
    sigemptyset(&note.sa_mask);
    note.sa_flags = SA_RESTART;
    for (int i = 0; i < kHeldCount; ++i) {
        sigaction(kHeld[i], nullptr, &g_saved[i]);
        // A signal the program ignores stays ignored.
        if (g_saved[i].sa_handler != SIG_IGN) sigaction(kHeld[i], &note, nullptr);
    }
}

// Puts the program's own handling back and hands it a signal that came meanwhile.
void ReleaseSignals() {
    if (--g_holders > 0) return;
    for (int i = 0; i < kHeldCount; ++i) sigaction(kHeld[i], &g_saved[i], nullptr);
    const int arrived = g_arrived;
    g_arrived = 0;
    if (arrived != 0) std::raise(arrived);
}

FileResult Refused(int code, std::string reason) {
    return FileResult{code, std::move(reason)};
}

FileResult Failed(const std::string& what, int err) {
    return Refused(FileErrorFromErrno(err), what + std::strerror(err));
}

// The folder a file of `path` goes into: the current one for a bare name.
std::string FolderHolding(const std::string& path) {
    const std::string folder = FolderOf(path);
    return folder.empty() ? std::string(".") : folder;
}

// Makes the folders on the way to `folder` that are missing (private to the user).
FileResult MakeFolders(const std::string& folder) {
    size_t pos = 0;
    do {
        pos = folder.find('/', pos + 1);
        const std::string part = folder.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return Failed("cannot make the folder " + part + ": ", errno);
    } while (pos != std::string::npos);
    return FileResult();
}

// The file that is replaced: `path` itself, or the file a symbolic link there points to.
FileResult CheckTarget(const std::string& path, std::string& target, struct stat& info,
                       bool& exists) {
    target = path;
    exists = false;
    if (path.empty()) return Refused(rc::kFileBadPath, "no file name was given");
    if (::lstat(path.c_str(), &info) != 0) {
        const int err = errno;
        if (err == ENOENT) return FileResult();
        if (err == ENOTDIR) return Refused(rc::kFileBadPath, "a part of the path is not a folder");
        return Failed("cannot be reached: ", err);
    }
    if (S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) == nullptr || ::stat(resolved, &info) != 0)
            return Refused(rc::kFileBadPath, "is a symbolic link to nothing");
        target = resolved;
    }
    if (S_ISDIR(info.st_mode)) return Refused(FileErrorFromErrno(EISDIR), "is a directory");
    if (!S_ISREG(info.st_mode)) return Refused(rc::kFileBadPath, NotARegularFile(info.st_mode));
    if (::access(target.c_str(), W_OK) != 0) {
        const int err = errno;
        return Refused(FileErrorFromErrno(err),
                       err == EROFS ? "is on a read-only file system" : "is read-only");
    }
    exists = true;
    return FileResult();
}

FileResult CheckFolder(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        const int err = errno;
        if (err == ENOENT)
            return Refused(rc::kFileBadPath, "the folder " + folder + " does not exist");
        if (err == ENOTDIR)
            return Refused(rc::kFileBadPath, "a part of the folder " + folder + " is not a folder");
        return Failed("the folder " + folder + " cannot be reached: ", err);
    }
    if (!S_ISDIR(info.st_mode)) return Refused(rc::kFileBadPath, folder + " is not a folder");
    return FileResult();
}

}  // namespace

OutputFile::OutputFile(const std::string& path, Folders folders) {
    HoldSignals();
    holdsSignals_ = true;
    if (folders == Folders::Create) status_ = MakeFolders(FolderHolding(path));
    struct stat info {};
    bool exists = false;
    if (status_.ok()) status_ = CheckTarget(path, target_, info, exists);
    folder_ = FolderHolding(target_);
    if (status_.ok()) status_ = CheckFolder(folder_);
    if (!status_.ok()) return;
    // A hidden name of the program's own in the same folder, so that the rename stays on one
    // file system; O_EXCL never takes over another file.
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = Format("%s/.vxlconf-%ld-%u.tmp", folder_.c_str(), static_cast<long>(::getpid()),
                       serial++);
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd_ >= 0 || errno != EEXIST) break;
    }
    if (fd_ < 0) {
        status_ = Failed("cannot create files in the folder " + folder_ + ": ", errno);
        temp_.clear();
        return;
    }
    // A file that is replaced keeps its permissions.
    if (exists) ::fchmod(fd_, info.st_mode & 07777);
}

OutputFile::~OutputFile() {
    Discard();
    if (holdsSignals_) ReleaseSignals();
}

void OutputFile::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

bool OutputFile::Write(const void* data, std::size_t size) {
    const char* next = static_cast<const char*>(data);
    while (status_.ok() && size > 0) {
        const ssize_t written = ::write(fd_, next, size);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) {
            status_ = Failed("", errno);
            break;
        }
        next += written;
        size -= static_cast<std::size_t>(written);
    }
    return status_.ok();
}

FileResult OutputFile::Commit() {
    if (status_.ok() && ::fsync(fd_) != 0) status_ = Failed("", errno);
    if (status_.ok()) {
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0) status_ = Failed("", errno);
    }
    if (status_.ok() && g_arrived != 0)
        status_ = Refused(rc::kInterrupted, Format("interrupted by %s", InterruptName(g_arrived)));
    if (status_.ok() && ::rename(temp_.c_str(), target_.c_str()) != 0)
        status_ = Failed("cannot be replaced: ", errno);
    if (status_.ok()) {
        temp_.clear();
        // The rename itself reaches the disk with the folder.
        const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
    Discard();
    if (holdsSignals_) {
        holdsSignals_ = false;
        ReleaseSignals();
    }
    return status_;
}

FileResult CheckOutputFile(const std::string& path, Folders folders) {
    // Nothing is committed: the probe's temporary file goes, the target is untouched.
    OutputFile probe(path, folders);
    return probe.Status();
}

FileResult WriteFileAtomically(const std::string& path, const std::string& content,
                               Folders folders) {
    OutputFile file(path, folders);
    file.Write(content.data(), content.size());
    return file.Commit();
}

}  // namespace vxl
