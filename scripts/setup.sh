#!/usr/bin/env bash
# Installs the Debian packages that building, testing and benchmarking msarender need.
# Packages already present are skipped; the script says what it installs.
#   scripts/setup.sh          build, tests and benchmarks ('time' measures the whole-process figure,
#                             clang-format checks formatting in CI, poppler-utils, ghostscript and
#                             librsvg2-bin let the tests read the SVG, PDF and EPS output back,
#                             python3 runs the mutation run; pybind11 builds the Python module, and
#                             numpy, Biopython, pytest, nbconvert and ipykernel test it and
#                             run its notebook, all for Debian's /usr/bin/python3; not matplotlib, which
#                             neither the module nor its notebook needs)
#                             chromium, node and npm run the HTML page's browser tests, with
#                             puppeteer-core installed into tests/page/node_modules by npm ci (it uses
#                             Debian's chromium and downloads no browser); firefox-esr runs them again
#                             in Firefox, which puppeteer-core drives over WebDriver BiDi
#   scripts/setup.sh --fuzz   also clang and libFuzzer for fuzz/run.sh
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools
  libboost-dev zlib1g-dev libbz2-dev liblzma-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core time clang-format python3
  poppler-utils ghostscript librsvg2-bin
  pybind11-dev python3-pybind11 python3-numpy python3-biopython python3-pytest
  jupyter-nbconvert python3-ipykernel
  chromium firefox-esr
)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# The browser tests' node packages, exactly as package-lock.json pins them.
install_page_test_packages() {
  local dir
  dir="$(dirname "$0")/../tests/page"
  if [ -f "$dir/node_modules/puppeteer-core/package.json" ]; then return; fi
  echo "setup: installing the page tests' node packages"
  (cd "$dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
}

# node and npm may come from elsewhere than Debian (a nodejs package that bundles npm): only when missing.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  missing+=(nodejs npm)
fi

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all build packages are present"
  install_page_test_packages
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages: ${missing[*]}; run this script as root to install them" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
install_page_test_packages
echo "setup: done"
