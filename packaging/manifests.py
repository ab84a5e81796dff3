#!/usr/bin/env python3
"""Writes the manifests through which package managers install a release:
a winget manifest set (version, installer and default-locale files) and a
Scoop app manifest, naming the installer and the portable ZIP of this
build by their download address and SHA-256.

  manifests.py --version V --base-url URL --installer SETUP.exe
               --zip PORTABLE.zip --out DIR

writes Quillfen.ShelfCloak{,.installer,.locale.en-US}.yaml into
DIR/winget/manifests/q/Quillfen/ShelfCloak/V/, where winget's community
repository keeps them, and DIR/scoop/shelfcloak.json. The YAML is written
from templates: every value in it is checked to be a plain scalar that
needs no quoting. The program's path inside the ZIP is read from the ZIP.
"""

import argparse
import hashlib
import json
import os
import re
import shutil
import sys
import zipfile

PACKAGE_IDENTIFIER = "Quillfen.ShelfCloak"
MANIFEST_VERSION = "1.10.0"
LOCALE = "en-US"
PUBLISHER = "Quillfen"
PRODUCT = "Shelf Cloak"
HOME_PAGE = "https://www.shelfcloak.example/"
LICENSE = "MIT"
SHORT_DESCRIPTION = "Hides and shows the Windows taskbar with one hot key."
# The installer's uninstall entry is HKCU\...\Uninstall\Shelfcloak; winget
# finds an installed copy, and so an upgrade, by that key's name.
PRODUCT_CODE = "Shelfcloak"
SILENT = "/S"
PROGRAM = "Shelfcloak.exe"

VERSION_TEMPLATE = """\
# yaml-language-server: $schema=https://aka.ms/winget-manifest.version.{manifest_version}.schema.json
PackageIdentifier: {identifier}
PackageVersion: {version}
DefaultLocale: {locale}
ManifestType: version
ManifestVersion: {manifest_version}
"""

INSTALLER_TEMPLATE = """\
# yaml-language-server: $schema=https://aka.ms/winget-manifest.installer.{manifest_version}.schema.json
PackageIdentifier: {identifier}
PackageVersion: {version}
Installers:
- Architecture: x64
  InstallerType: nullsoft
  Scope: user
  InstallerUrl: {installer_url}
  InstallerSha256: {installer_sha256}
  InstallerSwitches:
    Silent: {silent}
    SilentWithProgress: {silent}
  ProductCode: {product_code}
- Architecture: x64
  InstallerType: zip
  NestedInstallerType: portable
  NestedInstallerFiles:
  - RelativeFilePath: {relative_program}
    PortableCommandAlias: shelfcloak
  InstallerUrl: {zip_url}
  InstallerSha256: {zip_sha256}
ManifestType: installer
ManifestVersion: {manifest_version}
"""

LOCALE_TEMPLATE = """\
# yaml-language-server: $schema=https://aka.ms/winget-manifest.defaultLocale.{manifest_version}.schema.json
PackageIdentifier: {identifier}
PackageVersion: {version}
PackageLocale: {locale}
Publisher: {publisher}
PackageName: {product}
PackageUrl: {home_page}
License: {license}
ShortDescription: {short_description}
Description: {description}
Moniker: shelfcloak
Tags:
- taskbar
- hotkey
- tray
ManifestType: defaultLocale
ManifestVersion: {manifest_version}
"""

DESCRIPTION = (
    "A tiny resident utility that hides and shows the Windows taskbar with one hot key"
    " (Ctrl+Shift+A until you choose another). Hiding gives the taskbar's strip to"
    " maximised windows; it lives as an icon in the notification area and keeps its"
    " few settings in the current user's registry."
)

# A plain YAML scalar on one line: no leading indicator, no ": " or " #",
# no quotes or escapes, nothing outside printable ASCII.
PLAIN_SCALAR = re.compile(r"^[A-Za-z0-9/\\(][ -~]*$")


def plain(value):
    if not PLAIN_SCALAR.match(value) or ": " in value or " #" in value or value.endswith(":"):
        raise ValueError(f"not a plain YAML scalar: {value!r}")
    return value


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as file:
        for block in iter(lambda: file.read(1 << 16), b""):
            digest.update(block)
    return digest.hexdigest()


def program_in_zip(path):
    """The path of the one PROGRAM in the ZIP at path."""
    with zipfile.ZipFile(path) as archive:
        found = [name for name in archive.namelist() if name.split("/")[-1] == PROGRAM]
    if len(found) != 1:
        sys.exit(f"manifests.py: {len(found)} entries named {PROGRAM} in {path}, expected one")
    return found[0]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--version", required=True)
    parser.add_argument("--base-url", required=True)
    parser.add_argument("--installer", required=True)
    parser.add_argument("--zip", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    if not re.fullmatch(r"\d+(\.\d+){0,3}", args.version):
        sys.exit(f"manifests.py: not a version: {args.version!r}")
    if not re.fullmatch(r"https?://[!-~]+", args.base_url):
        sys.exit(f"manifests.py: not an http(s) address without blanks: {args.base_url!r}")
    base = args.base_url.rstrip("/")

    program = program_in_zip(args.zip)
    installer_name = os.path.basename(args.installer)
    zip_name = os.path.basename(args.zip)
    values = {
        "identifier": PACKAGE_IDENTIFIER,
        "version": args.version,
        "manifest_version": MANIFEST_VERSION,
        "locale": LOCALE,
        "publisher": PUBLISHER,
        "product": PRODUCT,
        "home_page": HOME_PAGE,
        "license": LICENSE,
        "short_description": SHORT_DESCRIPTION,
        "description": DESCRIPTION,
        "product_code": PRODUCT_CODE,
        "silent": SILENT,
        "installer_url": f"{base}/{installer_name}",
        "installer_sha256": sha256(args.installer).upper(),
        "zip_url": f"{base}/{zip_name}",
        "zip_sha256": sha256(args.zip).upper(),
        "relative_program": program.replace("/", "\\"),
    }
    try:
        values = {name: plain(value) for name, value in values.items()}
    except ValueError as error:
        sys.exit(f"manifests.py: {error}")

    # Only this release's set: a folder left from another version, or from
    # another layout, would be taken for part of it.
    shutil.rmtree(os.path.join(args.out, "winget"), ignore_errors=True)
    winget = os.path.join(args.out, "winget", "manifests", PACKAGE_IDENTIFIER[0].lower(),
                          *PACKAGE_IDENTIFIER.split("."), args.version)
    scoop = os.path.join(args.out, "scoop")
    os.makedirs(winget, exist_ok=True)
    os.makedirs(scoop, exist_ok=True)
    for suffix, template in (
        ("", VERSION_TEMPLATE),
        (".installer", INSTALLER_TEMPLATE),
        (f".locale.{LOCALE}", LOCALE_TEMPLATE),
    ):
        path = os.path.join(winget, f"{PACKAGE_IDENTIFIER}{suffix}.yaml")
        with open(path, "w", encoding="utf-8", newline="\n") as file:
            file.write(template.format(**values))

    # 64-bit only, as the program is: Scoop then refuses a 32-bit Windows
    # instead of installing a program that cannot start there.
    app = {
        "version": args.version,
        "description": SHORT_DESCRIPTION,
        "homepage": HOME_PAGE,
        "license": LICENSE,
        "architecture": {
            "64bit": {"url": values["zip_url"], "hash": values["zip_sha256"].lower()}
        },
        "extract_dir": os.path.dirname(program),
        "bin": PROGRAM,
        "shortcuts": [[PROGRAM, PRODUCT]],
    }
    with open(os.path.join(scoop, "shelfcloak.json"), "w", encoding="utf-8", newline="\n") as file:
        json.dump(app, file, indent=4)
        file.write("\n")


if __name__ == "__main__":
    main()
