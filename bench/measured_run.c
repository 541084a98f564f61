/* selvane-measured-run PROGRAM [ARGUMENTS...]: runs the program with its
 * output discarded and prints "WALL_MS PEAK_KB STATUS" for it. The peak a
 * child reports (ru_maxrss) includes the memory of the process it was forked
 * from, so selvane-bench forks its programs through this small one rather
 * than from itself. */
#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: selvane-measured-run PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  struct timespec start, end;
  clock_gettime(CLOCK_MONOTONIC, &start);
  pid_t pid = fork();
  if (pid == 0) {
    int quiet = open("/dev/null", O_WRONLY);
    if (quiet >= 0) dup2(quiet, 1);
    execv(argv[1], argv + 1);
    _exit(127);
  }
  if (pid < 0) return 2;
  int status = 0;
  struct rusage usage;
  if (wait4(pid, &status, 0, &usage) != pid) return 2;
  clock_gettime(CLOCK_MONOTONIC, &end);
  double ms = (double)(end.tv_sec - start.tv_sec) * 1e3 + (double)(end.tv_nsec - start.tv_nsec) / 1e6;
  printf("%.3f %ld %d\n", ms, usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
  return 0;
}
