// Smoke run of the browser build in headless Chromium: what only the browser can break. Served,
// the page shows the menu at the window's size; real keys make a new map in the editor and draw a
// house, real mouse clicks another; F2 saves through the browser's storage, and after a reload
// the map and its houses are still there. The page comes from web-build/site/; screenshots go to
// build/web-shots/.
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const repo = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const site = path.join(repo, 'web-build/site');
const shots = path.join(repo, 'build/web-shots');
const chromiumPath = process.env.ZOR_CHROMIUM || '/usr/bin/chromium';
const WIDTH = 1280, HEIGHT = 800;
const MAP_NAME = 'webtown';
const ORIGIN = 'http://zor.test';

let passed = 0, failed = 0;
function check(name, ok, detail = '') {
  if (ok) ++passed; else ++failed;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ` (${detail})` : ''}`);
}

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

async function press(page, key, times = 1) {
  for (let i = 0; i < times; ++i) await page.keyboard.press(key).then(() => sleep(120));
}

async function click(page, x, y) {
  await page.mouse.move(x, y, { steps: 5 }).then(() => sleep(200));
  await page.mouse.click(x, y).then(() => sleep(200));
}

// Waits until the game shows its menu: the highlighted first item in white at (200, H/2).
const waitForMenu = (page) => page.waitForFunction(() => {
  const c = document.getElementById('canvas');
  if (!c || c.width === 0) return false;
  const d = c.getContext('2d').getImageData(200, Math.floor(c.height / 2), 120, 30).data;
  let n = 0;
  for (let i = 0; i < d.length; i += 4) if (d[i] > 234 && d[i + 1] > 234 && d[i + 2] > 234) ++n;
  return n > 40;
}, null, { timeout: 60000, polling: 250 }).then(() => true, () => false);

const readFile = (page, file) => page.evaluate((file) => {
  try { return FS.readFile(file, { encoding: 'utf8' }); } catch (e) { return null; }
}, file);

async function main() {
  fs.mkdirSync(shots, { recursive: true });
  if (!fs.existsSync(path.join(site, 'zor.wasm'))) throw new Error(`no build in ${site}: run make web`);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'zor-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath,
    headless: true,
    viewport: { width: WIDTH, height: HEIGHT },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    // The site's files are served to the browser straight from the disk.
    await context.route(`${ORIGIN}/**`, (route) => {
      const file = path.join(site, new URL(route.request().url()).pathname);
      return fs.existsSync(file) ? route.fulfill({ path: file }) : route.fulfill({ status: 404 });
    });
    const page = context.pages()[0] || await context.newPage();
    page.on('pageerror', (e) => console.log(`  page error: ${e.message}`));

    await page.goto(`${ORIGIN}/index.html`);
    const menuShown = await waitForMenu(page);
    await page.locator('#canvas').screenshot({ path: path.join(shots, '01-menu.png') });
    const size = await page.evaluate(() => [document.getElementById('canvas').width,
                                            document.getElementById('canvas').height]);
    check('the page shows the main menu at the window size',
          menuShown && size[0] === WIDTH && size[1] === HEIGHT, size.join(' x '));
    if (!menuShown) return;

    // Edit, Create map, a name typed with the keys (Backspace takes the last letter back).
    await press(page, 'ArrowDown', 4);
    await press(page, 'Enter');
    await press(page, 'ArrowDown', 2);
    await press(page, 'Enter');
    await page.keyboard.type(MAP_NAME + 'x', { delay: 60 });
    await press(page, 'Backspace');
    await press(page, 'Enter');
    await sleep(500);
    // A house with the keys: corners at the cursor (150, 150) and 100 right, 60 down.
    await press(page, 'Enter');
    await press(page, 'ArrowRight', 10);
    await press(page, 'ArrowDown', 6);
    await press(page, 'Enter');
    // A house with the mouse: the first click on the page only captures the pointer, then a
    // click sets one corner and the next click, 120 right and 70 down, the other.
    await click(page, 400, 300);
    await click(page, 500, 380);
    await click(page, 620, 450);
    await press(page, 'F2');
    await sleep(500);
    await page.locator('#canvas').screenshot({ path: path.join(shots, '02-editor.png') });
    const houses = ((await readFile(page, `/maps/${MAP_NAME}/houses.txt`)) || '').split('\n');
    check('the keys and the mouse rectangle each draw a house',
          houses.length === 2 && houses[0] === '150 150 100 60 - 100 0 0' &&
          /^\d+ \d+ 120 70 - 100 0 0$/.test(houses[1]), JSON.stringify(houses));
    await press(page, 'Escape', 2);
    await sleep(500);

    // The browser's storage keeps the map over a reload.
    await page.reload();
    const again = await waitForMenu(page);
    const levels = ((await readFile(page, '/maps/levels.txt')) || '').split('\n');
    const kept = ((await readFile(page, `/maps/${MAP_NAME}/houses.txt`)) || '').split('\n');
    check('after a reload the menu shows and lists the new map with both houses',
          again && levels.includes(MAP_NAME) && JSON.stringify(kept) === JSON.stringify(houses),
          JSON.stringify({ again, levels, kept }));
  } finally {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

try {
  await main();
} catch (e) {
  check('the browser test ran to its end', false, e.message);
}
console.log(`web: ${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
