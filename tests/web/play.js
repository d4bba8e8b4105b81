// Plays the browser build as a viewer would: opens the start page in headless Chromium, picks a
// size, clicks Start and waits for the show to end by itself. Prints the program's frame-rate
// line and when the show ended; fails on any console or page error, or when the show does not
// end between 126 s and 126 s plus the allowance after the click. With ESCAPE_AFTER it presses
// Escape that many seconds after the click instead and expects the show to end at once.
//   node play.js PAGE_DIR [WIDTHxHEIGHT] [SECONDS_ALLOWED] [ESCAPE_AFTER]
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');
const { chromium } = require('playwright-core');

const [pageDir, size = "640x360", allowed = "150", escapeAfter] = process.argv.slice(2);
const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

function serve() {
  const server = http.createServer((request, response) => {
    const file = path.join(pageDir, path.normalize(decodeURIComponent(request.url.split('?')[0])));
    fs.readFile(file, (error, bytes) => {
      response.writeHead(error ? 404 : 200,
                         { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
      response.end(error ? undefined : bytes);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

async function main() {
  const server = await serve();
  const browser = await chromium.launch({
    executablePath: process.env.KELVO_CHROMIUM || '/usr/bin/chromium',
    args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox'],
  });
  const errors = [];
  try {
    const page = await browser.newPage({ viewport: { width: 1280, height: 720 } });
    page.on('console', (message) => {
      if (message.type() === 'error') {
        errors.push('console: ' + message.text());
      } else if (message.text().startsWith('vornasto:')) {
        console.log(message.text());
      }
    });
    page.on('pageerror', (error) => errors.push('page: ' + error.message));
    await page.goto(`http://127.0.0.1:${server.address().port}/vornasto.html`);
    await page.waitForFunction(() => window.kelvoReady === true, null, { timeout: 120000 });
    await page.selectOption('#size', size);
    const started = Date.now();
    await page.click('#go');
    if (escapeAfter) {
      await page.waitForTimeout(Number(escapeAfter) * 1000);
      await page.keyboard.press('Escape');
    }
    await page.waitForFunction(() => window.kelvoEnded === true, null,
                               { timeout: Number(allowed) * 1000, polling: 500 });
    const seconds = (Date.now() - started) / 1000;
    console.log(`play: the show ended ${seconds.toFixed(1)} s after the click`);
    if (!escapeAfter && seconds < 126) {
      errors.push('the show ended before 126 s');
    }
  } finally {
    await browser.close();
    server.close();
  }
  for (const error of errors) {
    console.log(error);
  }
  if (errors.length > 0) {
    process.exit(1);
  }
}

main().catch((error) => {
  console.log('play failed: ' + error.message);
  process.exit(1);
});
