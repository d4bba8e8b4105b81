// The browser build in a real browser: serves the built page over HTTP, drives headless Chromium
// (Debian's, through playwright-core) to start the show on the test entry's clock, renders the
// golden key times in their order at the golden size, reads each frame back and compares it with
// tests/golden/ as the native golden test does (the per-pixel difference is the largest channel
// difference; the mean and the share of pixels over the threshold are bounded). Any console
// error or page error fails the test.
//   node web_test.js PAGE_DIR GOLDEN_DIR OUT_DIR
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');
const { chromium } = require('playwright-core');

const [pageDir, goldenDir, outDir] = process.argv.slice(2);
const WIDTH = 320;
const HEIGHT = 180;
// The native golden test's key times, in its order (tools/capture/GoldenFrames.cpp).
const KEY_TIMES = ['1', '10', '28', '40', '53.8', '54.2', '56', '62', '69.6', '70.2', '75', '90',
                   '100', '112', '116', '120', '123.5'];
// The native golden test's tolerance (tools/capture/ImageDifference.h). The browser decodes JPEG
// with stb_image instead of libjpeg-turbo and rasterises with SwiftShader instead of llvmpipe,
// which stays well under it (means up to 1.2, up to 0.6 % changed, when it was set).
const TOLERANCE = { pixelThreshold: 24, maxMean: 2.0, maxChangedShare: 0.01 };

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.data': 'application/octet-stream', '.png': 'image/png' };

function serve() {
  const server = http.createServer((request, response) => {
    const url = decodeURIComponent(request.url.split('?')[0]);
    const file = url.startsWith('/golden/') ? path.join(goldenDir, path.basename(url))
                                            : path.join(pageDir, path.normalize(url));
    fs.readFile(file, (error, bytes) => {
      if (error) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
      response.end(bytes);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

function fileName(seconds) {
  const [whole, fraction = ''] = seconds.split('.');
  return 't_' + whole.padStart(3, '0') + '.' + fraction.padEnd(3, '0') + '.png';
}

function msOf(seconds) {
  const [whole, fraction = ''] = seconds.split('.');
  return Number(whole) * 1000 + Number(fraction.padEnd(3, '0'));
}

// In the page: the golden PNG's pixels, decoded without colour conversion, against `actual`.
async function compareInPage(page, name, actual, tolerance) {
  return page.evaluate(async ({ name, actual, width, height, tolerance }) => {
    const blob = await (await fetch('/golden/' + name)).blob();
    const bitmap = await createImageBitmap(blob, { colorSpaceConversion: 'none',
                                                   premultiplyAlpha: 'none' });
    const canvas = new OffscreenCanvas(width, height);
    const context = canvas.getContext('2d');
    context.drawImage(bitmap, 0, 0);
    const expected = context.getImageData(0, 0, width, height).data;
    let sum = 0;
    let changed = 0;
    for (let i = 0; i < width * height; ++i) {
      let d = 0;
      for (let c = 0; c < 3; ++c) {
        d = Math.max(d, Math.abs(expected[i * 4 + c] - actual[i * 4 + c]));
      }
      sum += d;
      changed += d > tolerance.pixelThreshold ? 1 : 0;
    }
    const pixels = new ImageData(new Uint8ClampedArray(actual), width, height);
    context.putImageData(pixels, 0, 0);
    const png = await canvas.convertToBlob({ type: 'image/png' });
    const reader = new FileReader();
    const url = await new Promise((resolve) => { reader.onload = () => resolve(reader.result);
                                                 reader.readAsDataURL(png); });
    return { mean: sum / (width * height), share: changed / (width * height), png: url };
  }, { name, actual, width: WIDTH, height: HEIGHT, tolerance });
}

async function main() {
  const server = await serve();
  const port = server.address().port;
  const browser = await chromium.launch({
    executablePath: process.env.KELVO_CHROMIUM || '/usr/bin/chromium',
    args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--autoplay-policy=no-user-gesture-required', '--no-sandbox'],
  });
  const errors = [];
  let failed = 0;
  try {
    const page = await browser.newPage();
    page.on('console', (message) => {
      if (message.type() === 'error') {
        errors.push('console: ' + message.text());
      }
    });
    page.on('pageerror', (error) => errors.push('page: ' + error.message));
    await page.goto(`http://127.0.0.1:${port}/vornasto.html`);
    await page.waitForFunction(() => window.kelvoReady === true, null, { timeout: 120000 });
    if (!(await page.evaluate(({ w, h }) => window.kelvoTest.start(w, h),
                              { w: WIDTH, h: HEIGHT }))) {
      throw new Error('the show did not start');
    }
    fs.mkdirSync(outDir, { recursive: true });
    for (const time of KEY_TIMES) {
      const name = fileName(time);
      const actual = await page.evaluate(({ ms, w, h }) => window.kelvoTest.renderAt(ms, w, h),
                                         { ms: msOf(time), w: WIDTH, h: HEIGHT });
      if (!actual) {
        console.log(`${name}: no frame`);
        ++failed;
        continue;
      }
      const result = await compareInPage(page, name, actual, TOLERANCE);
      const pass = result.mean <= TOLERANCE.maxMean && result.share <= TOLERANCE.maxChangedShare;
      console.log(`${name}: mean ${result.mean.toFixed(3)}, changed ${(100 * result.share).toFixed(2)} %` +
                  (pass ? '' : '  FAILED'));
      fs.writeFileSync(path.join(outDir, name.replace('.png', '-web.png')),
                       Buffer.from(result.png.split(',')[1], 'base64'));
      failed += pass ? 0 : 1;
    }
  } finally {
    await browser.close();
    server.close();
  }
  for (const error of errors) {
    console.log(error);
  }
  if (errors.length > 0 || failed > 0) {
    console.log(`web test failed: ${failed} frames over the tolerance, ${errors.length} errors`);
    process.exit(1);
  }
  console.log(`web test passed: ${KEY_TIMES.length} frames within mean ${TOLERANCE.maxMean} and ` +
              `${100 * TOLERANCE.maxChangedShare} % over ${TOLERANCE.pixelThreshold}`);
}

main().catch((error) => {
  console.log('web test failed: ' + error.message);
  process.exit(1);
});
