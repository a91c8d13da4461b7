# Shared by ./run and ./test: install what is missing, configure and build one variant.
# shellcheck shell=bash

SKORVIN_PACKAGES=(
  cmake ninja-build g++ pkg-config binutils
  qt6-base-dev qtbase5-dev libgl-dev qt6-translations-l10n qttranslations5-l10n
  libsqlite3-dev sqlite3 unixodbc-dev libsqliteodbc tdsodbc postgresql odbc-postgresql locales libxlsxwriter-dev
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev clang-format
  fonts-wqy-zenhei xvfb xauth poppler-utils python3-openpyxl
)

ensure_packages() {
  local missing=()
  local p
  for p in "${SKORVIN_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

sudo_if_needed() {
  if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# apt-get source needs deb-src entries; they mirror the machine's own deb entries.
ensure_source_list() {
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  local src_list=/etc/apt/sources.list.d/skorvin-src.sources
  echo "Adding $src_list"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | sudo_if_needed tee "$src_list" >/dev/null
  else
    grep -hE '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      sudo_if_needed tee "${src_list%.sources}.list" >/dev/null
  fi
  sudo_if_needed apt-get update -qq >/dev/null
}

# The ODBC tests also run under a Chinese 8-bit locale, which Debian does not install.
ensure_test_locales() {
  locale -a 2>/dev/null | grep -qix 'zh_CN.gbk' && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo localedef -i zh_CN -f GBK zh_CN.GBK
}

# build_variant <build dir> <extra cmake args...>
build_variant() {
  local dir=$1
  shift
  # Configured every time: a changed option takes effect, and an unchanged one costs a second.
  cmake -S "$SKORVIN_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir"
}
