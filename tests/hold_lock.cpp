// SPDX-License-Identifier: GPL-3.0-or-later
// Holds a write lock on a file the way apt and dpkg take theirs (fcntl), from the moment it
// prints "locked" until its standard input ends, so that a test's end always releases it.
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: hold_lock FILE\n");
        return 2;
    }
    const int fd = open(argv[1], O_RDWR | O_CREAT, 0640);
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (fd < 0 || fcntl(fd, F_SETLK, &lock) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::puts("locked");
    std::fflush(stdout);
    char byte;
    while (read(STDIN_FILENO, &byte, 1) > 0) {
    }
    return 0;
}
