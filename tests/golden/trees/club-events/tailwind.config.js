/** @type {import('tailwindcss').Config} */
module.exports = {
  content: ["./app/Views/**/*.php", "./app/Controllers/**/*.php", "./public/**/*.php"],
  theme: { extend: {} },
  plugins: [],
};
