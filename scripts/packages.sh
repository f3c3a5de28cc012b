# Installs the Debian packages named in PACKAGES that are missing, through sudo when not root.
# Sourced by setup.sh and windows.sh.

missing_packages() {
    local pkg
    for pkg in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            echo "$pkg"
        fi
    done
}

as_root() {
    if [ "$(id -u)" -ne 0 ]; then
        sudo "$@"
    else
        "$@"
    fi
}

install_missing() {
    local missing
    missing=$(missing_packages)
    [ -z "$missing" ] && return 0
    echo "Installing: $missing"
    as_root apt-get update -q
    # shellcheck disable=SC2086
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
}
