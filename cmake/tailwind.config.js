// The generated application's Tailwind settings (templates/tailwind.config.js) over every file
// that writes its markup: the view and controller templates and the generator's sources.
const path = require("path");
const app = require("../templates/tailwind.config.js");

const root = path.join(__dirname, "..");
module.exports = {
  ...app,
  content: [
    path.join(root, "templates/app/**/*.php"),
    path.join(root, "templates/public/**/*.php"),
    path.join(root, "src/generator/*.{cpp,hpp}"),
  ],
};
