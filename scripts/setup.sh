#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine (as root), then builds the
# Windows-side dependencies (libjpeg-turbo, GoogleTest, x264 for a test tool) into .deps/mingw. Safe to
# run again: every step that is already done is skipped.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix="$root/.deps/mingw"
work="$root/.deps/work"
jobs=$(nproc)

packages=(
  cmake ninja-build make pkg-config git ca-certificates xz-utils dpkg-dev
  g++ clang libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev libturbojpeg0-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools nasm
  wine wine64 libwine xvfb xauth x11-utils imagemagick xdotool
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav
  iproute2 util-linux procps psmisc python3 python3-pil pulseaudio
  x264 ffmpeg
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

src_list=/etc/apt/sources.list.d/debian-src.sources
need_update=0
if [ ! -f "$src_list" ]; then
  # Debian source packages: libjpeg-turbo for mingw is built from Debian's own source.
  base=/etc/apt/sources.list.d/debian.sources
  if [ -f "$base" ]; then
    sed 's/^Types: deb$/Types: deb-src/' "$base" >"$src_list"
  else
    grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/debian-src.list
    touch "$src_list"
  fi
  need_update=1
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  # A third-party repository that cannot be reached must not stop the install.
  apt-get update -q || true
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

mkdir -p "$prefix" "$work"

# libjpeg-turbo (static, SIMD) for the Windows build.
if [ ! -f "$prefix/lib/libturbojpeg.a" ]; then
  echo "setup: building libjpeg-turbo for mingw-w64"
  rm -rf "$work/jpeg" && mkdir -p "$work/jpeg" && cd "$work/jpeg"
  apt-get source --download-only -q libjpeg-turbo
  dpkg-source -x --no-check libjpeg-turbo_*.dsc src >/dev/null
  cmake -S src -B build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=ON -DWITH_JAVA=OFF -DREQUIRE_SIMD=ON >/dev/null
  cmake --build build -j "$jobs" >/dev/null
  cmake --install build >/dev/null
  cd "$root" && rm -rf "$work/jpeg"
fi

# GoogleTest for the Windows tests, from Debian's sources.
if [ ! -f "$prefix/lib/libgtest.a" ]; then
  echo "setup: building GoogleTest for mingw-w64"
  rm -rf "$work/gtest"
  cmake -S /usr/src/googletest -B "$work/gtest" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -Dgtest_disable_pthreads=OFF -DBUILD_GMOCK=ON >/dev/null
  cmake --build "$work/gtest" -j "$jobs" >/dev/null
  cmake --install "$work/gtest" >/dev/null
  rm -rf "$work/gtest"
fi
# x264 for mingw: the tests' stand-in H.264 encoder (a COM server registered in a test prefix) is built on
# it. A test tool only; nothing built from it goes into dist/.
if [ ! -f "$prefix/lib/libx264.a" ]; then
  echo "setup: building x264 for mingw-w64"
  rm -rf "$work/x264" && mkdir -p "$work/x264" && cd "$work/x264"
  apt-get source --download-only -q x264
  dpkg-source -x --no-check x264_*.dsc src >/dev/null
  cd src
  ./configure --host=x86_64-w64-mingw32 --cross-prefix=x86_64-w64-mingw32- --prefix="$prefix" \
    --enable-static --disable-cli --disable-opencl >/dev/null
  make -j "$jobs" >/dev/null
  make install >/dev/null
  cd "$root" && rm -rf "$work/x264"
fi
echo "setup: done"
