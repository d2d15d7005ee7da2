# Shared by ./run and ./test: install what the build needs, then configure and build.

LUMETRA_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-tools-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev poppler-utils
  fonts-dejavu-core locales-all
)

lumetra_missing_packages() {
  local missing=()
  local pkg
  for pkg in "${LUMETRA_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  echo "${missing[@]}"
}

lumetra_ensure_packages() {
  local missing
  missing="$(lumetra_missing_packages)"
  [ -z "$missing" ] && return 0
  echo "Installing missing packages: $missing" >&2
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo="sudo"
    else
      echo "These packages are missing and neither root nor sudo is available: $missing" >&2
      return 1
    fi
  fi
  # A fresh machine has no package lists yet.
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
  # shellcheck disable=SC2086
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
}

lumetra_build() {
  local preset="$1"
  if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset"
  fi
  cmake --build --preset "$preset"
}
