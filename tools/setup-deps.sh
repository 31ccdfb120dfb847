# Installs the Debian packages Kestrel needs when any is missing.
# Sourced by tools/run and tools/test.

# help2man makes the manual pages from the programs' --help at every build; the
# completion test runs bash with bash-completion; rapidjson-dev (headers only) reads
# and writes kestrel-cam's JSON.
kestrel_packages=(cmake g++ make qt6-base-dev rapidjson-dev fonts-dejavu-core fonts-liberation2
    help2man bash-completion "$@")

# What tools/check-package.sh needs on top: dpkg-dev and file for the package's
# library dependencies, the validators, groff and man for the manual pages, rsvg-convert
# and ImageMagick to compare the icons with their drawing.
kestrel_package_check_packages=(dpkg-dev file lintian desktop-file-utils appstream groff-base
    man-db shared-mime-info librsvg2-bin imagemagick)

kestrel_ensure_packages() {
    local missing=()
    local pkg
    for pkg in "${kestrel_packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
