// gedan-cli run as a process, as a user runs it.

#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/loopback_server.h"
#include "support/share_page.h"
#include "version.h"

extern char** environ;

namespace gedan {
namespace {

using testing::LoopbackServer;
using testing::SharePage;

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs gedan-cli with `args`, collecting both output streams until it ends. With `stdoutFile`, the
// standard output goes to that file instead.
CliRun RunCli(const std::vector<std::string>& args, const char* stdoutFile = nullptr) {
  int outPipe[2];
  int errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdoutFile != nullptr) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutFile, O_WRONLY, 0);
  } else {
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  }
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  std::vector<std::string> all = {GEDAN_CLI_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, GEDAN_CLI_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  CliRun run;
  if (spawned != 0) return run;

  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&run.out, &run.err};
  int open = 2;
  while (open > 0 && poll(fds, 2, 30000) > 0) {
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
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
  for (const pollfd& fd : fds) {
    if (fd.fd >= 0) close(fd.fd);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

class GedanCliTest : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv("GEDAN_SERVICE_ORIGIN"); }
  LoopbackServer server_;
};

TEST_F(GedanCliTest, ListPrintsOneTabSeparatedUtf8LinePerSong) {
  server_.Serve("/share",
                {.body = SharePage(R"([{"hash":"A1","song_name":"晴天","album_id":"976"},)"
                                   R"({"hash":"B2","song_name":"Two Words","album_id":"5"}])")});
  setenv("GEDAN_SERVICE_ORIGIN", "http://svc.test", 1);

  const CliRun run = RunCli({"list", server_.Url("/share?id=1")});

  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(
      run.out,
      "0\t晴天\tA1\t976\thttp://svc.test/yy/index.php?r=play/getdata&hash=A1&album_id=976&_=\n"
      "1\tTwo Words\tB2\t5\thttp://svc.test/yy/index.php?r=play/getdata&hash=B2&album_id=5&_=\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(GedanCliTest, NamesWithTabsOrLineBreaksStayInTheirField) {
  // A page's names may hold any character; each song still gets one line of five fields.
  server_.Serve("/share",
                {.body = SharePage(R"([{"hash":"A1","song_name":"a\tb\r\nc","album_id":"1"},)"
                                   R"({"hash":"B2","song_name":"d\ne","album_id":"2"}])")});
  setenv("GEDAN_SERVICE_ORIGIN", "http://svc.test", 1);

  const CliRun run = RunCli({"list", server_.Url("/share")});

  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "0\ta b  c\tA1\t1\thttp://svc.test/yy/index.php?r=play/getdata&hash=A1&album_id=1&_=\n"
            "1\td e\tB2\t2\thttp://svc.test/yy/index.php?r=play/getdata&hash=B2&album_id=2&_=\n");
}

TEST_F(GedanCliTest, ListThatCannotBeWrittenSaysSoAndFails) {
  server_.Serve("/share", {.body = SharePage(R"([{"hash":"A1","song_name":"x","album_id":"1"}])")});
  const CliRun run = RunCli({"list", server_.Url("/share")}, "/dev/full");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
}

TEST_F(GedanCliTest, EmptyListPrintsNothingAndSucceeds) {
  server_.Serve("/share", {.body = SharePage("[]")});
  const CliRun run = RunCli({"list", server_.Url("/share")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
}

TEST_F(GedanCliTest, FailuresSayWhyOnStandardErrorAndExitNonZero) {
  server_.Serve("/gone", {.status = 404, .body = "<html>no</html>"});
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string complaint;  // part of the message on stderr
  };
  const std::vector<Case> cases = {
      // The HTTP client's failure texts are numbered from 700.
      {{"list", "http://127.0.0.1:1/share"}, 1, "cannot fetch http://127.0.0.1:1/share: 7"},
      {{"list", server_.Url("/gone")}, 1, "holds no song list (HTTP 404"},
      {{"list"}, 2, "list takes one share link"},
      {{"list", "a", "b"}, 2, "list takes one share link"},
      {{"fetch"}, 2, "unknown command 'fetch'"},
      {{}, 2, "Usage: gedan-cli"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCli(c.args);
    SCOPED_TRACE(c.args.empty() ? "(no arguments)" : c.args[0]);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_NE(run.err.find(c.complaint), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(GedanCliTest, HelpAndVersion) {
  const CliRun help = RunCli({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("list SHARE_LINK"), std::string::npos);
  EXPECT_EQ(RunCli({"-h"}).out, help.out);

  const CliRun version = RunCli({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("gedan-cli ") + GEDAN_VERSION + "\n");
}

}  // namespace
}  // namespace gedan
