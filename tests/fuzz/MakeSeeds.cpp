// Writes the seed corpora of the fuzz targets: the edge cases of the
// key-value file and the language table, the worked two-player league and a
// full league as the core writes them, and any real files named on the
// command line, each wrapped with a few operations.
//
//   vok_fuzz_seeds OUTDIR [--kv FILE]... [--lang FILE]...
//
// Seeds go to OUTDIR/fuzz_kvfile/ and OUTDIR/fuzz_language/.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzScratch.h"
#include "KvFileCase.h"
#include "LanguageCase.h"
#include "LeagueFixture.h"
#include "kvfile/KeyValueFile.h"

namespace fs = std::filesystem;
using vok::fuzz::KvCase;

namespace {

fs::path g_out;

void Seed(const char* target, const std::string& name, const std::string& bytes) {
    fs::create_directories(g_out / target);
    std::ofstream out(g_out / target / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The league file that Save writes for `data`, made through the same writes.
std::string LeagueFile(const VokLeagueData& data) {
    std::string path = vok::fuzz::ScratchFolder() + "league.dat";
    std::remove(path.c_str());
    {
        KeyValueFile file(path.c_str());
        file.BeginBatch();
        data.WriteKeys(file);
        file.CommitBatch();
    }
    return ReadAll(path);
}

// A real file with three uses: reading keys, writing one by one, a batch.
void KvSeeds(const std::string& name, const std::string& file,
             const std::vector<std::string>& keys) {
    KvCase read(file);
    for (const std::string& key : keys) {
        read.Get(key);
    }
    read.GetToken(0).GetNext().GetNext().Get("absent");
    Seed("fuzz_kvfile", name + "-read", read.Bytes());

    KvCase write(file);
    write.WriteStringToToken(0, "x", false).WriteInt(keys.empty() ? "k" : keys[0], 7, true);
    write.WriteString("added", "\"q v\"", true).WriteFloat("health", 100.0f, true);
    write.ToggleLineKeys().WriteStringToToken(3, "", false);
    Seed("fuzz_kvfile", name + "-write", write.Bytes());

    KvCase batch(file, vok::fuzz::kLineKeys);
    batch.BeginBatch();
    for (const std::string& key : keys) {
        batch.WriteString(key, "v", true);
    }
    batch.WriteInt("fresh", -1, true).WriteStringToToken(5, "\"quoted\"", true).CommitBatch();
    Seed("fuzz_kvfile", name + "-batch", batch.Bytes());
}

void EdgeCaseSeeds() {
    struct Edge {
        const char* name;
        std::string file;
    };
    const Edge edges[] = {
        {"crlf", "a = 1\r\n"},
        {"no-line-end", "a = 1"},
        {"empty", ""},
        {"quoted-blank", "key = \"x y\"\r\n"},
        {"quote-after-token", "a\"b c\""},
        {"empty-quotes", "k = \"\"\r\n"},
        {"unclosed-quote", "a = \"open\r\nb = 2"},
        {"commas", "a=1,2,3"},
        {"tab", "b\t= 4"},
        {"value-spells-key", "x = y\r\ny = 2\r\n"},
        {"key-last-line", "a = 1\r\nname\r\n"},
        {"key-last-token", "a = 1\r\nname"},
        {"two-keys", "a = 1\r\nb = 2\r\n"},
        {"shorter-value", "a = 10\r\nb = 2\r\n"},
        {"quoted-name", "LeagueName = \"Cup\"\r\n"},
        {"high-bytes", "n = \xC5sa\xF1\r\n\xC4r = 3\r\n"},
        {"zero-byte", std::string("ab\0cd = 1\r\n", 11)},
    };
    for (const Edge& edge : edges) {
        KvCase edgeCase(edge.file);
        edgeCase.GetToken(0, true).GetNext().GetNext().WriteStringToToken(0, "77", false);
        edgeCase.WriteString("name", "Grunt", true).GetToken(2);
        Seed("fuzz_kvfile", std::string("edge-") + edge.name, edgeCase.Bytes());
    }

    Seed("fuzz_kvfile", "missing-add",
         KvCase("", vok::fuzz::kMissing)
             .WriteInt("a", 5, false)
             .WriteInt("a", 5, true)
             .WriteInt("b", 2, true)
             .WriteInt("c", 3, true)
             .Bytes());
    Seed("fuzz_kvfile", "quoted-replaced",
         KvCase("LeagueName = \"Cup\"\r\n").WriteString("leaguename", "\"Big\"", true).Bytes());
    Seed("fuzz_kvfile", "empty-quotes-filled",
         KvCase("k = \"\"\r\n").WriteString("k", "v", false).Bytes());
    Seed("fuzz_kvfile", "floats",
         KvCase("").WriteFloat("f", 0.1f, true).WriteFloat("g", 100.0f, true).Bytes());
    Seed("fuzz_kvfile", "last-token-key",
         KvCase("a = 1\r\nname")
             .WriteString("name", "Grunt", false)
             .WriteString("name", "Grunt", true)
             .Bytes());
    Seed("fuzz_kvfile", "wrap",
         KvCase("a = 1\r\nb = 2\r\n").Get("b").Get("a").GetNext().GetNext().Bytes());
    Seed("fuzz_kvfile", "missing-batch",
         KvCase("", vok::fuzz::kMissing).BeginBatch().WriteInt("a", 1, true).CommitBatch().Bytes());
}

void LeagueSeeds() {
    // The worked example: league Cup, players Ann and Bo, one creature Grunt
    // each, C:\TEMP\ as the temporary directory.
    VokLeagueData worked = vok::test::MakeLeague(2, 1, "C:\\TEMP\\");
    std::snprintf(worked.ply[0].name, sizeof worked.ply[0].name, "\"Ann\"");
    std::snprintf(worked.ply[1].name, sizeof worked.ply[1].name, "\"Bo\"");
    KvSeeds("league-worked", LeagueFile(worked),
            {"matches_played", "LeagueName", "NrPlayers", "ply[1].vok[0].path"});

    VokLeagueData full = vok::test::MakeLeague(12, 5, "C:\\TEMP\\");
    std::string fullFile = LeagueFile(full);
    KvSeeds("league-full", fullFile, {"ply[11].vok[4].flawlesswins", "ply[0].name", "LeagueName"});
    // A player name that spells a later key, read and rewritten with keys
    // found anywhere and only at line starts.
    Seed("fuzz_kvfile", "league-full-name-spells-key",
         KvCase(fullFile)
             .WriteString("ply[0].name", "ply[1].points", true)
             .WriteInt("ply[1].points", 5, true)
             .ToggleLineKeys()
             .WriteInt("ply[1].points", 6, true)
             .Bytes());
}

void LanguageSeeds() {
    auto lines = [](int count, const std::string& prefix) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += prefix + std::to_string(i) + "\r\n";
        }
        return text;
    };
    struct Edge {
        const char* name;
        int line;
        std::string file;
    };
    const Edge edges[] = {
        {"two-lines-feed", 2, "A\nB\n"},
        {"two-lines", 1, "A\nB"},
        {"empty", 0, ""},
        {"crlf", 1, "One\r\nTwo\r\n"},
        {"line-499", 1, std::string(499, 'x') + "\nnext"},
        {"line-500", 1, std::string(500, 'y') + "\r\nnext"},
        {"line-long", 2, std::string(1500, 'z') + "\nnext\n"},
        {"45-lines", 44, lines(45, "Line ")},
        {"102-lines", 101, lines(102, "Text ")},
        {"600-lines", 511, lines(600, "L")},
        {"512-lines", 512, lines(511, "L") + "last"},
        {"ctrl-z", 3, "A\nB\x1A\nC\nD\n"},
        {"carriage-returns", 1, "A\r\r\nB\rC\r"},
        {"zero-byte", 0, std::string("A\0B\nC", 5)},
        {"negative-line", -1, "A\n"},
        {"high-bytes", 0, "\xC5sa \xF1o\xF1o\n\xE4\xF6\n"},
    };
    for (const Edge& edge : edges) {
        Seed("fuzz_language", std::string("edge-") + edge.name,
             vok::fuzz::LanguageInput(edge.line, edge.file));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTDIR [--kv FILE]... [--lang FILE]...\n", argv[0]);
        return 2;
    }
    g_out = argv[1];
    bool builtIn = true;
    for (int i = 2; i + 1 < argc; i += 2) {
        std::string file = ReadAll(argv[i + 1]);
        std::string name = "file-" + fs::path(argv[i + 1]).filename().string();
        builtIn = false;
        if (std::strcmp(argv[i], "--kv") == 0) {
            KvSeeds(name, file, {"name"});
        } else if (std::strcmp(argv[i], "--lang") == 0) {
            Seed("fuzz_language", name + "-44", vok::fuzz::LanguageInput(44, file));
            Seed("fuzz_language", name + "-101", vok::fuzz::LanguageInput(101, file));
        } else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }
    // The built-in seeds are written only when no real file is named, so that
    // a run on the sample data adds to a corpus without rewriting it.
    if (builtIn) {
        EdgeCaseSeeds();
        LeagueSeeds();
        LanguageSeeds();
    }
    return 0;
}
