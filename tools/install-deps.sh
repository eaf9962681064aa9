#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the asset generator
# need, and only those that are missing. Runs "apt-get update" once, and only
# when something has to be installed. Not root: prints the command and fails.
set -eu

packages="build-essential cmake pkg-config clang libclang-rt-dev
  libsdl1.2-dev libsdl-image1.2-dev
  libgl-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libjpeg-dev libpng-dev libfreetype-dev fonts-dejavu-core
  libmpg123-dev libmp3lame-dev
  libegl-dev libopengl-dev libegl-mesa0
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
  libaubio-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  parallel python3-yaml
  dpkg-dev file"

missing=""
for p in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $p" ;;
  esac
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages:$missing" >&2
  echo "Install them with: sudo apt-get update && sudo apt-get install -y$missing" >&2
  exit 1
fi

echo "Installing:$missing" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update
# shellcheck disable=SC2086
apt-get install -y --no-install-recommends $missing
