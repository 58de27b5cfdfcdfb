// The operating-system seam for native builds. The launcher ships only for
// Windows; this implementation exists so that the core runs, and is tested,
// natively. Where Windows and POSIX differ in a way the core depends on, it
// keeps the Windows rule: a read-only file can be neither deleted, overwritten
// nor replaced.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Os.h"
#include "platform/StdioFiles.h"

namespace vok {

namespace {

bool IsReadOnlyFile(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

struct LocaleId {
    const char* name;
    unsigned short langId;
};

// Locale names as the C library spells them, with the Windows language
// identifier of the same language and country. A bare language stands for its
// primary country, as Windows' default sublanguage does.
const LocaleId kLocales[] = {
    {"en", 0x0409},    {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009},
    {"en_NZ", 0x1409}, {"en_IE", 0x1809}, {"en_ZA", 0x1C09}, {"en_JM", 0x2009}, {"en_BZ", 0x2809},
    {"en_TT", 0x2C09}, {"en_ZW", 0x3009}, {"en_PH", 0x3409}, {"en_IN", 0x4009}, {"sv", 0x041D},
    {"sv_SE", 0x041D}, {"sv_FI", 0x081D}, {"nb", 0x0414},    {"nb_NO", 0x0414}, {"no", 0x0414},
    {"no_NO", 0x0414}, {"nn", 0x0814},    {"nn_NO", 0x0814}, {"fi", 0x040B},    {"fi_FI", 0x040B},
    {"da", 0x0406},    {"da_DK", 0x0406}, {"de", 0x0407},    {"de_DE", 0x0407}, {"de_CH", 0x0807},
    {"de_AT", 0x0C07}, {"de_LU", 0x1007}, {"de_LI", 0x1407}, {"fr", 0x040C},    {"fr_FR", 0x040C},
    {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_LU", 0x140C}, {"fr_MC", 0x180C},
    {"es", 0x0C0A},    {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"es_GT", 0x100A}, {"es_CR", 0x140A},
    {"es_PA", 0x180A}, {"es_DO", 0x1C0A}, {"es_VE", 0x200A}, {"es_CO", 0x240A}, {"es_PE", 0x280A},
    {"es_AR", 0x2C0A}, {"es_EC", 0x300A}, {"es_CL", 0x340A}, {"es_UY", 0x380A}, {"es_PY", 0x3C0A},
    {"es_BO", 0x400A}, {"es_SV", 0x440A}, {"es_HN", 0x480A}, {"es_NI", 0x4C0A}, {"es_PR", 0x500A},
    {"es_US", 0x540A}, {"pl", 0x0415},    {"pl_PL", 0x0415}, {"it", 0x0410},    {"it_IT", 0x0410},
    {"nl", 0x0413},    {"nl_NL", 0x0413}, {"pt", 0x0816},    {"pt_PT", 0x0816}, {"pt_BR", 0x0416},
    {"ru", 0x0419},    {"ru_RU", 0x0419}, {"ja", 0x0411},    {"ja_JP", 0x0411}, {"cs", 0x0405},
    {"cs_CZ", 0x0405},
};

const char* LocaleName() {
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (value && *value) {
            return value;
        }
    }
    return "";
}

class PosixOs final : public Os {
public:
    bool TempPath(char* buffer, std::size_t size) override {
        if (size == 0) {
            return false;
        }
        buffer[0] = '\0';
        const char* dir = std::getenv("TMPDIR");
        if (!dir || !*dir) {
            dir = "/tmp/";
        }
        std::size_t length = std::strlen(dir);
        bool needsSlash = dir[length - 1] != '/';
        if (length + (needsSlash ? 1 : 0) + 1 > size) {
            return false;
        }
        std::memcpy(buffer, dir, length);
        if (needsSlash) {
            buffer[length++] = '/';
        }
        buffer[length] = '\0';
        return true;
    }

    ReadResult ReadWholeFile(const char* path, std::string& contents) override {
        contents.clear();
        FILE* file = std::fopen(path, "rb");
        if (!file) {
            return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
        }
        // A folder opens for reading here, where Windows refuses it; its "size"
        // would be nonsense.
        struct stat st;
        if (fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) {
            std::fclose(file);
            return ReadResult::Failed;
        }
        return ReadAndClose(file, contents);
    }

    bool WriteWholeFile(const char* path, const void* data, std::size_t size) override {
        if (IsReadOnlyFile(path)) {
            return false;
        }
        return WriteStreamFile(path, data, size);
    }

    bool MoveReplace(const char* from, const char* to) override {
        return !IsReadOnlyFile(to) && std::rename(from, to) == 0;
    }

    bool CanOpen(const char* path) override {
        FILE* file = std::fopen(path, "rb");
        if (!file) {
            return false;
        }
        // A folder opens for reading here, where Windows refuses it: a folder
        // named "data.dat" is no creature.
        struct stat st;
        bool folder = fstat(fileno(file), &st) == 0 && S_ISDIR(st.st_mode);
        std::fclose(file);
        return !folder;
    }

    bool ListFolder(const char* folder, std::vector<std::string>& names) override {
        names.clear();
        DIR* dir = opendir(folder);
        if (!dir) {
            return false;
        }
        while (const dirent* entry = readdir(dir)) {
            names.emplace_back(entry->d_name);
        }
        closedir(dir);
        return true;
    }

    bool CopyFileOver(const char* from, const char* to) override {
        std::string contents;
        if (ReadWholeFile(from, contents) != ReadResult::Ok) {
            return false;
        }
        return WriteWholeFile(to, contents.data(), contents.size());
    }

    bool SetNormalAttributes(const char* path) override {
        struct stat st;
        if (stat(path, &st) != 0) {
            return false;
        }
        return chmod(path, st.st_mode | S_IWUSR) == 0;
    }

    bool MakeFolder(const char* path) override { return mkdir(path, 0777) == 0; }

    bool RemoveEmptyFolder(const char* path) override { return rmdir(path) == 0; }

    bool RemoveFile(const char* path) override {
        struct stat st;
        if (lstat(path, &st) != 0 || S_ISDIR(st.st_mode) || IsReadOnlyFile(path)) {
            return false;
        }
        return unlink(path) == 0;
    }

    unsigned short KeyboardLangId() override {
        // "de_CH.UTF-8@euro" -> "de_CH"
        std::string name = LocaleName();
        std::size_t end = name.find_first_of(".@");
        if (end != std::string::npos) {
            name.resize(end);
        }
        for (const LocaleId& locale : kLocales) {
            if (name == locale.name) {
                return locale.langId;
            }
        }
        return 0;  // LANG_NEUTRAL: in no language table
    }

    bool ExecutableFolder(char* buffer, std::size_t size) override {
        if (size == 0) {
            return false;
        }
        buffer[0] = '\0';
        char path[4096];
        ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
        if (length <= 0) {
            return false;
        }
        path[length] = '\0';
        char* slash = std::strrchr(path, '/');
        if (!slash) {
            return false;
        }
        std::size_t folderLength = static_cast<std::size_t>(slash - path) + 1;
        if (folderLength + 1 > size) {
            return false;
        }
        std::memcpy(buffer, path, folderLength);
        buffer[folderLength] = '\0';
        return true;
    }

    bool SetCurrentFolder(const char* path) override { return chdir(path) == 0; }

    // There is no shell to hand a Windows program or document to.
    bool ShellOpen(WindowHandle, const char*, const char*, const char*, const char*) override {
        return false;
    }

    // No keyboard state outside a window system: no key is ever down.
    unsigned short AsyncKeyState(Key) override { return 0; }

    // The game and the launcher are Windows programs: there is never a peer.
    WindowHandle FindTopWindow(const char*, const char*) override { return nullptr; }
    bool PostToWindow(WindowHandle, unsigned) override { return false; }
    bool BringToFront(WindowHandle) override { return false; }

    void DebugOutput(const char*) override {}

    void EndProcess(int exitCode) override { std::exit(exitCode); }

    // DirectDraw does not exist here; answering as a capable system keeps the
    // menu from offering a DirectX setup that could never run.
    std::uint32_t ProbeDirectDraw() override { return kDirectDraw7; }
};

}  // namespace

Os& SystemOs() {
    static PosixOs os;
    return os;
}

}  // namespace vok
