// The JavaScript linter over the player page's scripts (make lint): ESLint's
// recommended rules, set to the scripts' own style. No formatting rules.
"use strict";
const js = require("@eslint/js");
const globals = require("globals");

module.exports = [
  js.configs.recommended,
  {
    files: ["player/*.js"],
    languageOptions: {
      ecmaVersion: 2022,
      // Each script is a classic script of the page, wrapped in a function.
      sourceType: "script",
      globals: { ...globals.browser, QWebChannel: "readonly", qt: "readonly" },
    },
    rules: {
      strict: ["error", "global"],
      "no-unused-vars": ["error", { caughtErrors: "none" }],
      eqeqeq: "error",
      "no-var": "error",
      "prefer-const": "error",
      "no-implicit-globals": "error",
      "no-shadow": "error",
    },
  },
  {
    files: ["eslint.config.js"],
    languageOptions: { sourceType: "commonjs", globals: globals.node },
  },
];
