# Installs the Debian packages the build and the tests need, only when one is missing.
# Sourced by the scripts (test, run, package, screenshot).
vxl_install_deps() {
    local pkgs="cmake g++ ninja-build pkg-config libgtest-dev libgmock-dev libserialport-dev srecord libxml2-utils util-linux
        qt6-base-dev qt6-svg-dev xvfb xauth x11-utils xdotool poppler-utils fonts-liberation fonts-dejavu-core locales
        dpkg-dev lintian desktop-file-utils appstream man-db groff-base
        python3-pyatspi at-spi2-core dbus-daemon xclip"
    local missing=""
    for p in $pkgs; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    if [ -n "$missing" ]; then
        echo "installing:$missing"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
    fi
    vxl_make_locale de_DE UTF-8 de_DE.UTF-8
}

# Generates a locale when it is missing (the window's end-to-end test runs under a German locale).
vxl_make_locale() {
    local input=$1 charmap=$2 name=$3
    locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}" && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "generating locale $name"
    $sudo localedef -i "$input" -f "$charmap" "$name"
}
