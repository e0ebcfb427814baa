#!/usr/bin/env python3
"""The release files, each written byte for byte the same from the same commit.

    release.py package [URL [DIR]]  DIR/kelpo-VERSION.zip (DIR: dist) and, given
                                    the release's download URL of that zip, the
                                    winget and Scoop manifests for it in
                                    DIR/manifests
    release.py tests                dist/kelpo-tests/ and its zip: both
                                    executables and the end-to-end test
                                    programs, for a Windows machine to run
"""
import hashlib
import json
import os
import re
import shutil
import sys
import zipfile

PACKAGE_ID = "OvrinTools.WindowResizer"
PUBLISHER = "Ovrin Tools"
NAME = "Ovrin's Window Resizer"
COPYRIGHT = "Copyright (C) 2026 Ovrin Tools"
DESCRIPTION = "Moves and resizes other programs' windows to exact pixel rectangles."
LICENSE = "Proprietary"  # no licence is granted beyond the copyright
ALIAS = "kelpo"
MANIFEST_VERSION = "1.6.0"
# The architectures, and the executable each runs from the one zip.
EXECUTABLES = (("x64", "64bit", "kelpo64.exe"), ("x86", "32bit", "kelpo32.exe"))


def read_version():
    numbers = dict(re.findall(r"#define KELPO_VERSION_(MAJOR|MINOR|PATCH) (\d+)", open("res/version.h").read()))
    return f"{numbers['MAJOR']}.{numbers['MINOR']}.{numbers['PATCH']}"


def write_zip(out, entries):
    """entries: (name, bytes) in order; fixed times and attributes."""
    with zipfile.ZipFile(out, "w") as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0
            info.external_attr = 0x20  # archive
            z.writestr(info, data, compresslevel=9)


def write_text(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def yaml_quoted(value):
    return "'" + value.replace("'", "''") + "'"


def winget_manifests(version, url, sha256):
    head = f"PackageIdentifier: {PACKAGE_ID}\nPackageVersion: {version}\n"
    tail = f"ManifestVersion: {MANIFEST_VERSION}\n"
    schema = "# yaml-language-server: $schema=https://aka.ms/winget-manifest.{}.{}.schema.json\n"
    installers = "".join(
        f"- Architecture: {arch}\n"
        f"  NestedInstallerFiles:\n"
        f"  - RelativeFilePath: {exe}\n"
        f"    PortableCommandAlias: {ALIAS}\n"
        f"  InstallerUrl: {url}\n"
        f"  InstallerSha256: {sha256.upper()}\n"
        for arch, _, exe in EXECUTABLES)
    return {
        f"{PACKAGE_ID}.yaml": schema.format("version", MANIFEST_VERSION) + head
        + "DefaultLocale: en-US\nManifestType: version\n" + tail,
        f"{PACKAGE_ID}.installer.yaml": schema.format("installer", MANIFEST_VERSION) + head
        + "InstallerType: zip\nNestedInstallerType: portable\nInstallers:\n" + installers
        + "ManifestType: installer\n" + tail,
        f"{PACKAGE_ID}.locale.en-US.yaml": schema.format("defaultLocale", MANIFEST_VERSION) + head
        + "PackageLocale: en-US\n"
        + f"Publisher: {PUBLISHER}\nPackageName: {yaml_quoted(NAME)}\nLicense: {LICENSE}\n"
        + f"Copyright: {COPYRIGHT}\nShortDescription: {yaml_quoted(DESCRIPTION)}\n"
        + "ManifestType: defaultLocale\n" + tail,
    }


def scoop_manifest(version, url, sha256):
    """The URL names the version, so that autoupdate can follow it."""
    template = url.replace(version, "$version")
    github = re.match(r"https://github\.com/([^/]+/[^/]+)/releases/download/", url)
    checkver = ({"github": f"https://github.com/{github.group(1)}"} if github else
                {"url": url.rsplit("/", 1)[0].replace(version, "").rstrip("/") + "/",
                 "regex": r"kelpo-([\d.]+)\.zip"})
    manifest = {
        "version": version,
        "description": DESCRIPTION,
        "homepage": url.split("/releases/")[0] if github else url.rsplit("/", 1)[0],
        "license": LICENSE,
        # Each machine runs its own executable, under the same command.
        "architecture": {key: {"url": url, "hash": sha256, "bin": [[exe, ALIAS]], "shortcuts": [[exe, NAME]]}
                         for _, key, exe in EXECUTABLES},
        "checkver": checkver,
        "autoupdate": {"architecture": {key: {"url": template} for _, key, _ in EXECUTABLES}},
    }
    return json.dumps(manifest, indent=4, ensure_ascii=False) + "\n"


def package(version, url, folder):
    os.makedirs(folder, exist_ok=True)
    out = f"{folder}/kelpo-{version}.zip"
    files = {name: open("dist/" + name, "rb").read() for _, _, name in EXECUTABLES}
    sums = "".join(f"{hashlib.sha256(data).hexdigest()} *{name}\n" for name, data in files.items())
    readme = open("docs/readme.txt", encoding="utf-8").read()
    write_zip(out, [("README.txt", readme.replace("\n", "\r\n").encode("utf-8"))]
              + [(name, data) for name, data in files.items()] + [("SHA256SUMS", sums.encode("ascii"))])
    print(f"package: {out}")
    print(sums, end="")
    manifests = f"{folder}/manifests"
    shutil.rmtree(manifests, ignore_errors=True)
    if not url:
        print("package: no manifests written (KELPO_RELEASE_URL, the zip's download URL, is not set)")
        return
    if version not in url or not url.startswith("https://"):
        sys.exit(f"package: the release URL must be https and name version {version}: {url}")
    sha256 = hashlib.sha256(open(out, "rb").read()).hexdigest()
    winget_dir = os.path.join(manifests, "winget", "manifests", PACKAGE_ID[0].lower(),
                              *PACKAGE_ID.split("."), version)
    os.makedirs(winget_dir)
    for name, text in winget_manifests(version, url, sha256).items():
        write_text(os.path.join(winget_dir, name), text)
    os.makedirs(os.path.join(manifests, "scoop"))
    write_text(os.path.join(manifests, "scoop", "kelpo.json"), scoop_manifest(version, url, sha256))
    print(f"package: winget and Scoop manifests in {manifests}")


def tests(version):
    out = "dist/kelpo-tests"
    shutil.rmtree(out, ignore_errors=True)
    entries = []
    for arch, bits in (("x86_64", "64"), ("i686", "32")):
        for exe in (f"kelpo{bits}.exe", f"kelpo{bits}_oom.exe", f"kelpo{bits}_uipi.exe"):
            entries.append((exe, f"build/{arch}/{exe}"))
        entries.append((f"e2e{bits}/kelpo_e2e_tests{bits}.exe", f"build/{arch}/tests/e2e/kelpo_e2e_tests{bits}.exe"))
        entries.append((f"e2e{bits}/planted/dwmapi.dll", f"build/{arch}/tests/e2e/planted/dwmapi.dll"))
    entries.append(("run-tests.cmd", "scripts/windows/run-tests.cmd"))
    data = []
    for name, source in entries:
        content = open(source, "rb").read()
        if name.endswith(".cmd"):
            content = content.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        os.makedirs(os.path.dirname(os.path.join(out, name)) or out, exist_ok=True)
        with open(os.path.join(out, name), "wb") as f:
            f.write(content)
        data.append((name, content))
    write_zip(f"dist/kelpo-tests-{version}.zip", data)
    print(f"package-tests: {out} and dist/kelpo-tests-{version}.zip")


if __name__ == "__main__":
    if sys.argv[1] == "package":
        package(read_version(), sys.argv[2] if len(sys.argv) > 2 else "", sys.argv[3] if len(sys.argv) > 3 else "dist")
    else:
        tests(read_version())
