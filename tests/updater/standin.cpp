// A program to be updated, for the updater tests: "update_standin [seconds]".
// Appends "<pid> <content of version.txt>" to started.log beside itself, then
// lives for the given seconds (3 by default) unless it is stopped first.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

int main(int argc, char **argv)
{
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return 1;
    exe[n] = 0;
    std::string dir(exe);
    dir.erase(dir.rfind('/'));

    std::string version;
    if (FILE *f = std::fopen((dir + "/version.txt").c_str(), "r")) {
        char buf[64] = {};
        if (std::fgets(buf, sizeof buf, f))
            version = buf;
        std::fclose(f);
    }
    if (FILE *log = std::fopen((dir + "/started.log").c_str(), "a")) {
        std::fprintf(log, "%d %s\n", int(getpid()), version.c_str());
        std::fclose(log);
    }
    sleep(unsigned(argc > 1 ? std::atoi(argv[1]) : 3));
    return 0;
}
