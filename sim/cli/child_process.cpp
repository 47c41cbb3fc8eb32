#include "sim/cli/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace sim {

ChildStart StartChild(ChildProcess& child, const std::vector<std::string>& arguments, const std::string& logPath,
                      bool feedInput) {
  child = ChildProcess{};
  int ends[2] = {-1, -1};
  if (feedInput && pipe2(ends, O_CLOEXEC) != 0) return ChildStart::Failed;
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  if (feedInput) posix_spawn_file_actions_adddup2(&files, ends[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
  pid_t id = -1;
  const int spawned = posix_spawnp(&id, argv[0], &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (feedInput) close(ends[0]);
  if (spawned != 0) {
    if (feedInput) close(ends[1]);
    return spawned == ENOENT ? ChildStart::Missing : ChildStart::Failed;
  }
  child.id = id;
  if (feedInput) {
    child.input = ends[1];
    // A child that stops reading is told by write's error, not by a signal that ends the whole run.
    signal(SIGPIPE, SIG_IGN);
  }
  return ChildStart::Started;
}

bool FeedChild(const ChildProcess& child, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = write(child.input, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool WaitForChild(ChildProcess& child) {
  if (child.input >= 0) close(child.input);
  child.input = -1;
  if (child.id < 0) return false;
  int status = 0;
  while (waitpid(child.id, &status, 0) < 0)
    if (errno != EINTR) return false;
  child.id = -1;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace sim
