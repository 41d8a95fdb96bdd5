// The web build in a real browser: headless Chromium driven through
// puppeteer-core against the page served on 127.0.0.1. It plays the game as
// a player would (keys only), reloads the page to see what was kept, drops a
// level pack on it, and measures the load and the cost of play.
//
// Prints one line per check (PASS/FAIL name: detail) and per measurement
// (MEASURE name: value unit (target ...: met|MISSED)), and writes the
// measurements to OUT/measures.json. Exits 1 when a check failed; a missed
// target is reported, not failed (timings depend on the machine's load).
//
// Usage: node web_test.mjs --url URL --out DIR --splash PNG --keys FILE
//        --drop SQ --pick SQ --modules DIR [--play-seconds N] [--chromium PATH]
//   --drop is dropped on the page, --pick given to its file button
//   DIR holds node_modules/puppeteer-core
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import {createRequire} from 'node:module';
import {loadingChecks} from './loading_checks.mjs';

const opt = Object.fromEntries(
    process.argv.slice(2).reduce((pairs, arg, i, all) => (arg.startsWith('--') ? [...pairs, [arg.slice(2), all[i + 1]]] : pairs), []));
for (const need of ['url', 'out', 'splash', 'keys', 'drop', 'pick'])
  if (!opt[need]) throw new Error(`web_test: --${need} is missing`);
// puppeteer-core is installed at test time into a folder of the build.
const puppeteer = createRequire(path.join(path.resolve(opt.modules || '.'), 'node_modules', 'x.js'))('puppeteer-core');
const playSeconds = Number(opt['play-seconds'] || 60);
const out = opt.out;
fs.mkdirSync(out, {recursive: true});

const measures = {};
let failures = 0;
const pass = (name, detail) => console.log(`PASS ${name}${detail ? ': ' + detail : ''}`);
const fail = (name, detail) => {
  failures++;
  console.log(`FAIL ${name}: ${detail}`);
};
const check = (name, ok, detail) => (ok ? pass(name, detail) : fail(name, detail));
const measure = (name, value, unit, target, met) => {
  measures[name] = {value, unit, target, met};
  console.log(`MEASURE ${name}: ${value} ${unit} (target ${target}: ${met ? 'met' : 'MISSED'})`);
};
const sleep = ms => new Promise(r => setTimeout(r, ms));

// A player's screen: the page is large enough for the canvas at scale 1 and
// the key line under it, not for scale 2.
const browser = await puppeteer.launch({
  executablePath: opt.chromium || '/usr/bin/chromium',
  headless: true,
  userDataDir: path.join(out, 'profile'),
  defaultViewport: {width: 800, height: 600, deviceScaleFactor: 1},
  args: ['--no-sandbox', '--headless=new', '--window-size=800,600', '--no-first-run', '--no-default-browser-check'],
});
const page = await browser.newPage();
// The picture comparisons run in a page of their own, away from the game.
const lab = await browser.newPage();
await page.bringToFront();

// Every error the page reports counts: console errors, uncaught exceptions,
// failed requests and error statuses (a missing icon among them).
const errors = [];
page.on('console', m => {
  if (m.type() === 'error') errors.push(`console: ${m.text()}`);
});
page.on('pageerror', e => errors.push(`exception: ${e.message}`));
page.on('requestfailed', r => errors.push(`request failed: ${r.url()} ${r.failure()?.errorText || ''}`));

// The page weight: each response of the first load as a server would send
// it gzip-compressed.
let weighing = true;
const weights = [];
page.on('response', r => {
  if (r.status() >= 400) errors.push(`HTTP ${r.status()}: ${r.url()}`);
  if (!weighing || r.status() >= 300) return;
  weights.push(r.buffer().then(b => ({url: r.url(), raw: b.length, gz: zlib.gzipSync(b, {level: 9}).length}), () => null));
});

// The page's status for tests: frames, step, screen, ready, synced, ...
const status = () => page.evaluate(() => {
  const S = window.Starquarry;
  return S ? {frames: S.frames, step: S.step, screen: S.screen, ready: S.ready, synced: S.synced,
              syncing: S.syncing, pack: S.pack, map: S.map}
           : {};
});
// The list screens may go by their titles.
const aliases = {players: ['players', 'Select player'], packs: ['packs', 'Select level pack']};
const waitScreen = async (name, timeout = 20000) => {
  try {
    await page.waitForFunction(names => window.Starquarry && names.includes(window.Starquarry.screen),
                               {timeout, polling: 10}, aliases[name] || [name]);
    // A screen is named as it starts, before it reads keys: two frames on,
    // it does.
    const frames = (await status()).frames;
    await page.waitForFunction(f => window.Starquarry.frames >= f + 2, {timeout: 5000, polling: 10}, frames);
    return true;
  } catch {
    return false;
  }
};
// Waits until the world has stepped past STEP; returns the new step.
const waitStepAbove = async (step, timeout = 5000) => {
  const h = await page.waitForFunction(s => window.Starquarry && window.Starquarry.step > s && window.Starquarry.step,
                                       {timeout, polling: 2}, step);
  return h.jsonValue();
};
// The saves reach the browser's storage before the page may go.
const waitSynced = async (before, timeout = 10000) => {
  try {
    await page.waitForFunction(b => window.Starquarry && window.Starquarry.synced > b && !window.Starquarry.syncing,
                               {timeout, polling: 20}, before);
    return true;
  } catch {
    return false;
  }
};
// A key goes down, stays a few frames, comes up.
const press = async (key, hold = 50, after = 0) => {
  await page.keyboard.down(key);
  await sleep(hold);
  await page.keyboard.up(key);
  if (after) await sleep(after);
};
// Presses KEY until the page shows screen NAME (a press a busy page missed
// is sent again).
const pressTo = async (key, name, tries = 3) => {
  for (let i = 0; i < tries; i++) {
    await press(key);
    if (await waitScreen(name, 4000)) return true;
  }
  return false;
};

const shot = async name => {
  const canvas = await page.$('#canvas');
  const file = path.join(out, name);
  await canvas.screenshot({path: file});
  return file;
};
// Pixels of two pictures that differ (within RECT = [x, y, w, h] when given);
// -1 when their sizes differ. With BAR, each row's background is the colour
// at its x = BAR (inside the list boxes, left of any entry): the cursor's
// bar pulses, so two pictures agree where both show their background and
// elsewhere the pixels are equal.
const differ = (fileA, fileB, rect, bar) => lab.evaluate(async (a, b, rect, bar) => {
  const load = async b64 => {
    const bytes = Uint8Array.from(atob(b64), c => c.charCodeAt(0));
    const bmp = await createImageBitmap(new Blob([bytes], {type: 'image/png'}),
                                        {colorSpaceConversion: 'none', premultiplyAlpha: 'none'});
    const c = new OffscreenCanvas(bmp.width, bmp.height);
    const g = c.getContext('2d');
    g.drawImage(bmp, 0, 0);
    return g.getImageData(0, 0, bmp.width, bmp.height);
  };
  const A = await load(a), B = await load(b);
  if (A.width !== B.width || A.height !== B.height) return -1;
  const [x0, y0, w, h] = rect || [0, 0, A.width, A.height];
  let n = 0;
  for (let y = y0; y < y0 + h; y++)
    for (let x = x0; x < x0 + w; x++) {
      const i = 4 * (y * A.width + x);
      const same = (P, j, k) => P.data[j] === P.data[k] && P.data[j + 1] === P.data[k + 1] && P.data[j + 2] === P.data[k + 2];
      if (bar !== null) {
        const k = 4 * (y * A.width + bar);
        const backA = same(A, i, k), backB = same(B, i, k);
        if (backA || backB) {
          if (backA !== backB) n++;
          continue;
        }
      }
      if (A.data[i] !== B.data[i] || A.data[i + 1] !== B.data[i + 1] || A.data[i + 2] !== B.data[i + 2]) n++;
    }
  return n;
}, fs.readFileSync(fileA).toString('base64'), fs.readFileSync(fileB).toString('base64'), rect || null, bar ?? null);

// A list screen as REF shows it, whatever the phase of the cursor's pulse
// (x = 61 lies in the list boxes, left of their entries); a picture caught
// mid-draw is taken again. Returns the fewest pixels that differed.
const sameAs = async (ref, name, rect, tries = 3) => {
  let best = Infinity;
  for (let i = 0; i < tries && best !== 0; i++) {
    if (i) await sleep(300);
    best = Math.min(best, await differ(ref, await shot(name), rect, 61));
  }
  return best;
};

// A check that cannot go on (a wait that timed out, a page that went away)
// ends the run as a failure, with what was found so far.
async function visit() {
  // --- The first visit: load time, weight, splash --------------------------
  // A watcher from the document's start notes when the splash first shows, on
  // the page's own clock (0 = the navigation's start).
  await page.evaluateOnNewDocument(() => {
    const t = setInterval(() => {
      const S = window.Starquarry;
      if (S && S.screen === 'splash' && S.frames > 0) {
        window.__splashAt = performance.now();
        clearInterval(t);
      }
    }, 2);
  });
  await page.goto(opt.url, {waitUntil: 'load'});
  let splashAt = null;
  try {
    await page.waitForFunction(() => window.__splashAt !== undefined, {timeout: 30000, polling: 10});
    splashAt = await page.evaluate(() => window.__splashAt);
  } catch {
    fail('splash', 'the page showed no splash within 30 s');
  }
  if (splashAt !== null) measure('time-to-splash', (splashAt / 1000).toFixed(3), 's', '< 2 s', splashAt < 2000);

  // Whatever the page fetches in its first seconds belongs to its weight.
  await sleep(2000);
  weighing = false;
  const weighed = (await Promise.all(weights)).filter(Boolean);
  const gz = weighed.reduce((s, w) => s + w.gz, 0), raw = weighed.reduce((s, w) => s + w.raw, 0);
  for (const w of weighed) console.log(`  /${w.url.replace(opt.url, '')}: ${w.raw} bytes, ${w.gz} gzip`);
  measure('page-weight', (gz / 1e6).toFixed(3), 'MB gzip', '< 4 MB', gz < 4e6);
  console.log(`  (uncompressed ${(raw / 1e6).toFixed(3)} MB in ${weighed.length} responses)`);

  // The splash as the desktop game draws it at scale 1. "Press Space!" flashes
  // red now and then: a picture caught in a flash is taken again.
  if (splashAt !== null) {
    let diff = null;
    for (let i = 0; i < 5 && diff !== 0; i++) {
      if (i) await sleep(700);
      diff = await differ(await shot('splash.png'), opt.splash);
    }
    check('splash', diff === 0,
          diff === 0 ? 'the canvas equals the desktop splash' : `${diff} pixels differ from the desktop splash`);
  }
  // A click is the gesture browsers want before sound; the game takes no mouse.
  await page.mouse.click(320, 240);

  // --- A new player, a dropped pack, map 1 of Quarry Basics ---------------
  const startAt = async () => {
    const ok = await pressTo(' ', 'players');
    if (!ok) fail('players', `Space on the splash did not open the players (screen ${(await status()).screen})`);
    return ok;
  };
  // Opens the level pack FILE from the pack list, going down the list from
  // where the cursor stands; without the page telling the pack, the first
  // Return is taken.
  const openPack = async (file, downs) => {
    for (let i = 0; i < downs; i++) await press('ArrowDown', 50, 100);
    if (!(await pressTo('Enter', 'maps'))) return false;
    const S = await status();
    if (S.pack !== undefined && S.pack !== file) {
      fail('pack', `expected ${file}, opened ${S.pack}`);
      return false;
    }
    return true;
  };

  let flowOk = await startAt();
  if (flowOk) {
    // The new-player row, a name, back to the list with the player.
    await press('Enter', 50, 400);
    for (const k of 'web') await press(k, 50, 120);
    flowOk = await pressTo('Enter', 'players');
    if (!flowOk) fail('new player', `no player list after the name (screen ${(await status()).screen})`);
  }
  if (flowOk) {
    // The cursor stands on the new player.
    flowOk = await pressTo('Enter', 'packs');
    if (!flowOk) fail('new player', 'the new player did not reach the pack list');
  }
  let packsBefore = null;
  // The rows of the pack list: the shipped packs first (Deep Shafts, Quarry
  // Basics, Quarry Mix), then the added ones, then the Daily Quarry.
  const shippedRows = [0, 80, 640, 130], laterRows = [0, 210, 640, 230];
  if (flowOk) {
    // Quarry Basics sorts second among the shipped packs; the cursor stands
    // there before the drop as it will after the reload (the remembered pack).
    await press('ArrowDown', 50, 300);
    packsBefore = await shot('packs_before.png');
    const before = (await status()).synced;
    const bytes = fs.readFileSync(opt.drop).toString('base64');
    await page.evaluate((b64, name) => {
      const bytes = Uint8Array.from(atob(b64), c => c.charCodeAt(0));
      const dt = new DataTransfer();
      dt.items.add(new File([bytes], name, {type: 'application/octet-stream'}));
      for (const type of ['dragenter', 'dragover', 'drop'])
        document.body.dispatchEvent(new DragEvent(type, {dataTransfer: dt, bubbles: true, cancelable: true}));
    }, bytes, path.basename(opt.drop));
    check('drop stored', await waitSynced(before), 'the dropped pack was written to the browser storage');
    // The other way in: the page's file button.
    const picked = (await status()).synced;
    const [chooser] = await Promise.all([page.waitForFileChooser({timeout: 5000}), page.click('#pack-file')]);
    await chooser.accept([path.resolve(opt.pick)]);
    check('picked stored', await waitSynced(picked), 'the pack from the file button was written to the browser storage');
    await page.waitForFunction(() => document.activeElement === document.getElementById('canvas'), {timeout: 2000})
        .catch(() => fail('picked stored', 'the keys did not go back to the game after the file button'));
    flowOk = await openPack('quarry_basics.sq', 0);
    if (!flowOk) fail('map selection', 'Quarry Basics did not open');
  }

  // The foot line of the map selection: the author, and the best run's steps.
  const foot = [0, 440, 640, 30];
  const keys = fs.readFileSync(opt.keys, 'utf8').replace(/\s+/g, '');
  const arrows = {U: 'ArrowUp', D: 'ArrowDown', L: 'ArrowLeft', R: 'ArrowRight'};
  let mapsWon = null, mapsBefore = null;
  if (flowOk) {
    await sleep(300);
    mapsBefore = await shot('maps_before.png');
    flowOk = await pressTo('Enter', 'play');
    if (!flowOk) fail('play', 'map 1 did not start');
  }
  if (flowOk) {
    // One key a step: each goes just after a step, so the next step takes
    // it; a step that passes without its key is counted.
    let S = await status();
    let step = await waitStepAbove(S.step);
    let late = 0, played = 0;
    const synced = S.synced;
    for (const c of keys) {
      if ((await status()).screen !== 'play') break;
      if (arrows[c]) await press(arrows[c], 30);
      const next = await waitStepAbove(step).catch(() => step);
      if (next > step + 1) late++;
      step = next;
      played++;
    }
    // The picture of the completed map goes with Space.
    let back = await waitScreen('maps', 3000);
    for (let i = 0; i < 3 && !back; i++) back = await pressTo(' ', 'maps', 1);
    check('map 1 completed', back, back ? `${played} keys sent, ${late} steps without their key`
                                        : `still on ${(await status()).screen} after ${played} keys (${late} late)`);
    if (back) {
      check('progress stored', await waitSynced(synced), 'the progress and the run reached the browser storage');
      await sleep(500);
      mapsWon = await shot('maps_won.png');
      // The cursor stays on map 1: its row turns to the completed colour and
      // the foot line gains the best run's steps.
      const rows = await differ(mapsBefore, mapsWon, [0, 48, 640, 390]);
      const footDiff = await differ(mapsBefore, mapsWon, foot);
      check('map 1 marked', rows > 0, `${rows} pixels of the list changed after the win`);
      check('best run listed', footDiff > 0, `${footDiff} pixels of the foot line changed after the win`);
    }
  }

  // --- A reload: what the browser kept -------------------------------------
  await page.reload({waitUntil: 'load'});
  flowOk = await waitScreen('splash', 30000) && await startAt();
  if (flowOk) {
    // The last player and pack are remembered: Return twice leads back.
    flowOk = await pressTo('Enter', 'packs');
    if (!flowOk) fail('reload', 'the kept player did not reach the pack list');
  }
  if (flowOk) {
    await sleep(300);
    const same = packsBefore ? await sameAs(packsBefore, 'packs_after.png', shippedRows) : -1;
    const changed = packsBefore ? await differ(packsBefore, path.join(out, 'packs_after.png'), laterRows) : 0;
    check('added packs listed', same === 0 && changed > 0,
          `${same} pixels of the shipped packs' rows and ${changed} of the rows after them changed with the two packs`);
    // Two rows more: the Daily Quarry's second row moves from the fifth to
    // the seventh, empty before.
    const seventh = await differ(packsBefore, path.join(out, 'packs_after.png'), [60, 330, 520, 40]);
    check('both added packs listed', seventh > 0, `${seventh} pixels of the seventh row changed`);
    flowOk = await openPack('quarry_basics.sq', 0);
    if (!flowOk) fail('reload', 'Quarry Basics did not open after the reload');
  }
  if (flowOk && mapsWon) {
    // A fresh map selection stands on the first map not yet completed; Up
    // goes back to map 1, where the win left it.
    await sleep(300);
    if ((await differ(mapsWon, await shot('maps_reloaded.png'), foot)) !== 0) await press('ArrowUp', 50, 400);
    const d = await sameAs(mapsWon, 'maps_reloaded.png');
    check('progress kept', d === 0, d === 0 ? 'the map selection after the reload is the one after the win'
                                             : `${d} pixels differ from the map selection after the win`);
    // W plays the kept run to its end and comes back to the map selection.
    const from = (await status()).step;
    await press('w');
    const watched = await waitScreen('watch', 4000);
    if (watched) await sleep(1500).then(() => shot('watch.png'));
    const back = watched && await waitScreen('maps', keys.length * 200 + 20000);
    const steps = (await status()).step - from;
    check('watch', watched && back, watched ? (back ? `the kept run played ${steps} steps` : 'the run did not end')
                                            : 'W showed no run');
  }

  // --- 60 s of play: frame intervals and CPU --------------------------------
  const ticksPerSecond = 100; // USER_HZ, 100 on Linux
  // CPU ticks of the browser and every process under it (renderer, GPU,
  // utilities), by the kind of process.
  const treeTicks = root => {
    // The browser and every process under it (renderer, GPU, utilities).
    const procs = fs.readdirSync('/proc').filter(d => /^\d+$/.test(d)).map(pid => {
      try {
        const f = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
        const rest = f.slice(f.lastIndexOf(')') + 2).split(' ');
        const type = (fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8').match(/--type=([a-z-]+)/) || [, 'browser'])[1];
      return {pid: Number(pid), ppid: Number(rest[1]), ticks: Number(rest[11]) + Number(rest[12]), type};
      } catch {
        return null;
      }
    }).filter(Boolean);
    const inTree = new Set([root]);
    for (let grew = true; grew;) {
      grew = false;
      for (const p of procs)
        if (!inTree.has(p.pid) && inTree.has(p.ppid)) {
          inTree.add(p.pid);
          grew = true;
        }
    }
    const byType = {};
    for (const p of procs.filter(p => inTree.has(p.pid))) byType[p.type] = (byType[p.type] || 0) + p.ticks;
    return byType;
  };
  if (flowOk && (await pressTo('Enter', 'play'))) {
    // As the desktop's measure: two seconds to settle, then the window.
    await sleep(2000);
    const root = browser.process().pid;
    const times = [];
    let seen = (await status()).frames;
    const collect = async () => {
      const r = await page.evaluate(() => ({frames: window.Starquarry.frames, ring: Array.from(window.Starquarry.frameTimes),
                                            index: window.Starquarry.frameIndex}));
      const fresh = Math.min(r.frames - seen, r.ring.length);
      for (let k = fresh; k > 0; k--) times.push(r.ring[(r.index - k + r.ring.length) % r.ring.length]);
      seen = r.frames;
    };
    const a = treeTicks(root), t0 = Date.now();
    await collect();
    times.length = 0;
    while (Date.now() - t0 < playSeconds * 1000) {
      await sleep(500);
      await collect();
    }
    const b = treeTicks(root), seconds = (Date.now() - t0) / 1000;
    const share = type => ((b[type] || 0) - (a[type] || 0)) / ticksPerSecond / seconds;
    const cpu = Object.keys(b).reduce((sum, type) => sum + share(type), 0);
    console.log(`  CPU per s of play by process: ${Object.keys(b).map(t => `${t} ${share(t).toFixed(4)}`).join(', ')}`);
    const intervals = times.slice(1).map((t, i) => t - times[i]).sort((x, y) => x - y);
    const median = intervals.length ? intervals[Math.floor(intervals.length / 2)] : 0;
    const late = intervals.filter(d => d > 2 * median).length;
    console.log(`  ${times.length} frames in ${playSeconds} s, median interval ${median.toFixed(2)} ms, longest ${
        intervals.length ? intervals[intervals.length - 1].toFixed(1) : '-'} ms`);
    measure('late-frames', late, `frames later than 2 intervals (${(2 * median).toFixed(1)} ms)`, '0', late === 0);
    measures['browser-cpu'] = {value: Number(cpu.toFixed(4)), unit: 's CPU per s of play'};
    // The page's own process, without what any page costs the browser.
    measures['renderer-cpu'] = {value: Number(share('renderer').toFixed(4)), unit: 's CPU per s of play'};
    console.log(`MEASURE browser-cpu: ${cpu.toFixed(4)} s CPU per s of play (all browser processes)`);
    check('play measured', times.length > playSeconds * 20, `${times.length} frames seen`);
    await press('Escape', 50, 500);
  } else if (flowOk) {
    fail('play measured', 'the map did not start for the measurement');
  }
}
try {
  await visit();
} catch (e) {
  fail('run', `${e.message.split('\n')[0]} (screen ${JSON.stringify((await status().catch(() => ({}))).screen)})`);
}

// The page while its files arrive, in contexts of their own.
try {
  await loadingChecks({browser, url: opt.url, out, check, measure});
} catch (e) {
  fail('loading', e.message.split('\n')[0]);
}

check('no page errors', errors.length === 0, errors.length ? errors.join(' | ') : 'none');
fs.writeFileSync(path.join(out, 'measures.json'), JSON.stringify(measures, null, 1));
await browser.close();
console.log(failures ? `${failures} browser check(s) failed` : 'all browser checks passed');
process.exit(failures ? 1 : 0);
