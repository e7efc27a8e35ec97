# Sourced by start.sh and test.sh: installs what the build needs and is missing.
nimbo_packages="cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n libxlsxwriter-dev xvfb xauth fonts-dejavu-core poppler-utils python3-openpyxl locales clang-14 libclang-rt-14-dev libbenchmark-dev"

nimbo_install_missing() {
  local missing=""
  for p in $nimbo_packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  if [ -n "$missing" ]; then
    echo "Installing:$missing"
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
    $SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
  fi
}
