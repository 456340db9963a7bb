set -e; kxtool scramble abc
