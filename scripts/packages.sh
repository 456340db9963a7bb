# Shared by scripts/run and scripts/test: installs the Debian 12 packages that
# building and testing kx6 and dbwlib need (skipped when all are present).
KX6_PACKAGES="cmake ninja-build g++ pkg-config libgtest-dev zlib1g-dev libpq-dev \
libsqlite3-dev libmariadb-dev libicu-dev qt6-base-dev fonts-dejavu-core \
postgresql mariadb-server poppler-utils xvfb xauth qt6-translations-l10n \
libreoffice-writer-nogui chromium"

kx6_install_packages() {
    local missing=()
    for p in $KX6_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
