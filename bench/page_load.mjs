// The page's load as a player sees it, on this machine's line and on a slow
// mobile one: the figures of tests/web/loading_checks.mjs with their targets,
// nothing checked. Usage: node page_load.mjs MODULES_DIR URL OUT_DIR
import path from 'node:path';
import {createRequire} from 'node:module';
import {fastLine, slowLine} from '../tests/web/loading_checks.mjs';

const [modules, url, out] = process.argv.slice(2);
const puppeteer = createRequire(path.join(path.resolve(modules), 'node_modules', 'x.js'))('puppeteer-core');
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  defaultViewport: {width: 800, height: 600, deviceScaleFactor: 1},
  args: ['--no-sandbox', '--headless=new', '--window-size=800,600', '--no-first-run'],
});
const measure = (name, value, unit, target, met) =>
  console.log(`MEASURE page-${name}: ${value} ${unit} (target ${target}: ${met ? 'met' : 'MISSED'})`);
const check = (name, ok, detail) => ok || console.log(`  (${name}: ${detail})`);
try {
  await fastLine({browser, url, measure});
  await slowLine({browser, url, out, check, measure});
} catch (e) {
  console.log(`page load: ${e.message.split('\n')[0]}`);
}
await browser.close();
