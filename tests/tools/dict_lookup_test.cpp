// dict-lookup run as a process over the scrambled fixture sets (tests/fixtures/articles/*).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dictionary/ArticleStore.h"
#include "tests/tools/tools_test_support.h"
#include "common/TextCodec.h"

namespace fs = std::filesystem;

namespace {

struct ProcessRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `program` with exactly these arguments (empty ones and line feeds included).
ProcessRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
               const fs::path& workingDirectory = {})
{
    ProcessRun run;
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        return run;
    const pid_t child = fork();
    if (child == 0) {
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(errPipe[0]);
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0)
            _exit(127);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0 && poll(fds, 2, 10000) > 0) {
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

ProcessRun Lookup(const std::vector<std::string>& arguments, const fs::path& workingDirectory = {})
{
    return RunProgram(DICT_LOOKUP_PROGRAM, arguments, workingDirectory);
}

std::string FixtureSet(const std::string& name)
{
    return std::string(DICT_FIXTURE_ARTICLES) + "/" + name;
}

std::string LoadMessage(ArticleLoadMessage message)
{
    return Utf16ToUtf8(ArticleMessageText(message)) + "\n";
}

TEST(DictLookup, TextShowsTheListingThenTheArticle)
{
    const ProcessRun run = Lookup({"--articles", FixtureSet("good"), "--direction", "1", "Haus"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "listing: Listed\n"
                       "Haus\nHausarrest\nHausboot\nHaushalt\nMaus\nMontag\nStraße\nUfer\nZylinder\n"
                       "ab\naber\nalt\nauf\naus\nein bisschen\nenglisch\ngroß\nklein\nzu Hause\n"
                       "Äpfel\nÜbersetzung\nüber\n■\n"
                       "article: Found\n"
                       "Haus {n} :: house\r\nHaus {n}; Zuhause {n} :: home\r\n");

    const ProcessRun none = Lookup({"--articles", FixtureSet("good"), "xyz"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "listing: NoMatch\narticle: NotFound\n");
}

TEST(DictLookup, JsonOutcomes)
{
    const struct {
        const char* set;
        const char* direction;
        std::string word;
        std::string json;
    } cases[] = {
        {"good", "0", "house",
         R"({"listing":{"outcome":"Listed","headwords":["house","house arrest","houseboat","household","mouse","naïve","street","tree","■"]},)"
         R"("article":{"outcome":"Found","text":"house :: Haus {n}\r\nhouse :: Geschlecht {n}; Familie {f}\r\n"}})"},
        {"good", "0", "a",
         R"({"listing":{"outcome":"Listed","headwords":["a","a bit","a few","a lot","abbey","ability","able","about","above",)"
         R"("absence","absent","accept","access","accident","account","acid","across","act","action","active","actor",)"
         R"("add","address","admit","adult"]},"article":{"outcome":"Found","text":"a; an :: ein; eine\r\n"}})"},
        {"good", "0", "hous",
         R"({"listing":{"outcome":"Listed","headwords":["house","house arrest","houseboat","household","mouse","naïve","street","tree","■"]},)"
         R"("article":{"outcome":"NotFound","text":""}})"},
        {"good", "0", "Apple",
         R"({"listing":{"outcome":"NoMatch","headwords":[]},"article":{"outcome":"NotFound","text":""}})"},
        // A word with "|" is searched unchanged: the listing matches inside the house record,
        // the exact key matches nothing.
        {"good", "0", "house|house",
         R"({"listing":{"outcome":"Listed","headwords":["house","house arrest","houseboat","household","mouse","naïve","street","tree","■"]},)"
         R"("article":{"outcome":"NotFound","text":""}})"},
        // ... and with the article and its line break it reaches across into the end record.
        {"good", "0", "tree|tree :: Baum {m}\r\n",
         R"({"listing":{"outcome":"Listed","headwords":["tree","■"]},"article":{"outcome":"Found","text":"■"}})"},
        {"good", "1", "Übersetzung",
         R"({"listing":{"outcome":"Listed","headwords":["Übersetzung","über","■"]},)"
         R"("article":{"outcome":"Found","text":"Übersetzung {f} :: translation\r\n"}})"},
        // The text ends inside a record opening: every listing that gets there is abandoned.
        {"ragged", "0", "bank",
         R"({"listing":{"outcome":"Abandoned","headwords":[]},"article":{"outcome":"Found","text":"bank :: Bank {f} [fin.]\r\n"}})"},
        {"ragged", "0", "zz",
         R"({"listing":{"outcome":"Abandoned","headwords":[]},"article":{"outcome":"NotFound","text":""}})"},
        // The last record's article has no end; an unpaired surrogate is kept as an escape.
        {"ragged", "1", "Haus",
         R"({"listing":{"outcome":"Listed","headwords":["Haus","smile \ud83d","Zylinder"]},)"
         R"("article":{"outcome":"Found","text":"Haus {n} :: house\r\n"}})"},
        {"ragged", "1", "Zylinder",
         R"({"listing":{"outcome":"Listed","headwords":["Zylinder"]},"article":{"outcome":"NoArticleEnd","text":""}})"},
        {"ragged", "1", "",
         R"({"listing":{"outcome":"Listed","headwords":["","Bank","Haus","smile \ud83d","Zylinder"]},)"
         R"("article":{"outcome":"Found","text":"(a record with an empty headword)\r\n"}})"},
    };
    for (const auto& c : cases) {
        const ProcessRun run = Lookup({"--json", "--articles", FixtureSet(c.set), "--direction", c.direction, "--", c.word});
        EXPECT_EQ(run.exitCode, 0) << c.word;
        EXPECT_EQ(run.err, "") << c.word;
        EXPECT_EQ(run.out, c.json + "\n") << c.word;
    }
}

TEST(DictLookup, ArticlesNotLoaded)
{
    const std::string notLoaded =
        R"({"listing":{"outcome":"NotLoaded","headwords":[]},"article":{"outcome":"NotLoaded","text":""}})" "\n";
    TemporaryFolder nowhere;
    const struct {
        std::string folder;
        std::string message;
    } cases[] = {
        {(nowhere.path / "missing").string(), LoadMessage(ArticleLoadMessage::FileNotFound)},
        {FixtureSet("half"), LoadMessage(ArticleLoadMessage::FileNotFound)},
        {FixtureSet("empty"), "Article files in " + FixtureSet("empty") + " are empty\n"},
    };
    for (const auto& c : cases) {
        const ProcessRun json = Lookup({"--articles", c.folder, "--json", "house"});
        EXPECT_EQ(json.exitCode, 2) << c.folder;
        EXPECT_EQ(json.err, c.message) << c.folder;
        EXPECT_EQ(json.out, notLoaded) << c.folder;
        const ProcessRun text = Lookup({"--articles", c.folder, "house"});
        EXPECT_EQ(text.exitCode, 2) << c.folder;
        EXPECT_EQ(text.out, "listing: NotLoaded\narticle: NotLoaded\n") << c.folder;
    }
}

TEST(DictLookup, BadUsage)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"a", "b"},
        {"--json"},
        {"--direction", "2", "a"},
        {"--direction", "", "a"},
        {"--bogus", "a"},
        {"a", "--articles"},
        {"--", "a", "b"},
    };
    for (const auto& arguments : cases) {
        const ProcessRun run = Lookup(arguments);
        EXPECT_EQ(run.exitCode, 64) << arguments.size();
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("usage: dict-lookup", 0), 0u) << run.err;
    }
    // After "--" a word may look like an option.
    const ProcessRun dashes = Lookup({"--articles", FixtureSet("good"), "--", "--json"});
    EXPECT_EQ(dashes.exitCode, 0);
    EXPECT_EQ(dashes.out, "listing: NoMatch\narticle: NotFound\n");
}

TEST(DictLookup, DefaultFolderBesideTheProgramThenOutArticles)
{
    TemporaryFolder install;
    const fs::path program = install.path / "dict-lookup";
    fs::copy_file(DICT_LOOKUP_PROGRAM, program);
    fs::copy(FixtureSet("good"), install.path / "Articles");
    TemporaryFolder elsewhere;
    fs::create_directories(elsewhere.path / "out");
    fs::copy(FixtureSet("ragged"), elsewhere.path / "out" / "articles");

    // Beside the program wins over out/articles under the working folder.
    const ProcessRun beside = RunProgram(program.string(), {"--json", "bank"}, elsewhere.path);
    EXPECT_EQ(beside.exitCode, 0) << beside.err;
    EXPECT_NE(beside.out.find(R"("text":"bank :: Bank {f} [fin.]\r\nbank :: Ufer {n}\r\n")"), std::string::npos)
        << beside.out;

    fs::remove_all(install.path / "Articles");
    const ProcessRun fallback = RunProgram(program.string(), {"--json", "bank"}, elsewhere.path);
    EXPECT_EQ(fallback.exitCode, 0) << fallback.err;
    EXPECT_NE(fallback.out.find(R"("outcome":"Abandoned")"), std::string::npos) << fallback.out;

    const ProcessRun neither = RunProgram(program.string(), {"bank"}, install.path);
    EXPECT_EQ(neither.exitCode, 2);
    EXPECT_EQ(neither.err, LoadMessage(ArticleLoadMessage::FileNotFound));
}

} // namespace
