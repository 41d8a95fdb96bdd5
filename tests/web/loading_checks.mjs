// The page while its files arrive, as a player on a slow line sees it, and a
// file that does not come. Each visit runs in a fresh browser context (an
// empty cache), apart from the main visit's pages.
//
//   slow line ("Fast 3G": 1.6 Mbit/s down, 150 ms per request): the loading
//     picture with its progress bar within 1 s, the first bytes counted, the
//     splash within 6 s, the songs after it (the game does not wait for them)
//   a failed file: the data file answers 503 once; the page says so in words
//     with a Try again button, which brings the game up
//
// Used by web_test.mjs: loadingChecks({browser, url, out, check, measure});
// bench/page_load.mjs measures with fastLine and slowLine.
import path from 'node:path';

const FAST_3G = {download: 1.6e6 / 8, upload: 0.75e6 / 8, latency: 150};

// Notes on the page's own clock (0 = the navigation's start) when the
// loading picture, its first counted bytes and the splash first show.
function watchTimes() {
  const t = setInterval(() => {
    const S = window.Starquarry;
    if (!S) return;
    if (S.loadingShownAt && window.__pictureAt === undefined && document.querySelector('#loading .bar'))
      window.__pictureAt = S.loadingShownAt;
    if (S.loaded > 0 && window.__progressAt === undefined) window.__progressAt = performance.now();
    if (S.screen === 'splash' && S.frames > 0) {
      window.__splashAt = performance.now();
      clearInterval(t);
    }
  }, 2);
}

const seconds = ms => (ms / 1000).toFixed(3);

// The same page on this machine's own line: the picture and the splash.
export async function fastLine({browser, url, measure}) {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.evaluateOnNewDocument(watchTimes);
    await page.goto(url, {waitUntil: 'domcontentloaded'});
    await page.waitForFunction(() => window.__splashAt !== undefined, {timeout: 30000, polling: 10});
    const [picture, splash] = await page.evaluate(() => [window.__pictureAt, window.__splashAt]);
    measure('fast-picture', seconds(picture), 's to the loading picture', '<= 1 s', picture <= 1000);
    measure('fast-splash', seconds(splash), 's to the splash', '<= 2 s', splash <= 2000);
  } finally {
    await context.close();
  }
}

export async function slowLine({browser, url, out, check, measure}) {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.emulateNetworkConditions(FAST_3G);
    await page.evaluateOnNewDocument(watchTimes);
    await page.goto(url, {waitUntil: 'domcontentloaded'});
    await page.waitForFunction(() => window.__pictureAt !== undefined, {timeout: 10000, polling: 10});
    const picture = await page.evaluate(() => window.__pictureAt);
    measure('slow-picture', seconds(picture), 's to the loading picture on Fast 3G', '<= 1 s', picture <= 1000);
    await page.waitForFunction(() => window.__progressAt !== undefined, {timeout: 10000, polling: 10});
    const progress = await page.evaluate(() => window.__progressAt);
    console.log(`  first bytes counted on the bar after ${seconds(progress)} s`);
    const shot = path.join(out, 'loading.png');
    await page.screenshot({path: shot});
    const bar = await page.evaluate(() => {
      const fill = document.querySelector('#loading .fill');
      return {width: fill ? fill.style.width : '', text: document.querySelector('#loading .count')?.textContent};
    });
    check('loading picture', bar.text && /%|MB/.test(bar.text), `the bar says "${bar.text}" (${bar.width})`);

    await page.waitForFunction(() => window.__splashAt !== undefined, {timeout: 60000, polling: 20});
    const splash = await page.evaluate(() => window.__splashAt);
    measure('slow-splash', seconds(splash), 's to the splash on Fast 3G', '<= 6 s', splash <= 6000);
    const atSplash = await page.evaluate(() => ({arrived: window.Starquarry.musicArrived, total: window.Starquarry.musicTotal}));
    // The songs come after the splash; each is loaded by the game when it
    // arrives.
    await page.waitForFunction(() => window.Starquarry.musicTotal > 0 &&
                                         window.Starquarry.musicArrived === window.Starquarry.musicTotal,
                               {timeout: 60000, polling: 100});
    const music = await page.evaluate(() => ({
      at: performance.now(), total: window.Starquarry.musicTotal, loaded: window.Starquarry.musicLoaded,
      error: window.Starquarry.musicError,
    }));
    console.log(`  ${atSplash.arrived} of ${atSplash.total} songs there at the splash, all ${music.total} after ${
        seconds(music.at)} s`);
    check('late music', music.loaded === music.total && !music.error,
          `the game took ${music.loaded} of ${music.total} songs as they arrived${music.error ? ' (' + music.error + ')' : ''}`);
  } finally {
    await context.close();
  }
}

async function failedFile({browser, url, check}) {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.setRequestInterception(true);
    let refused = 0;
    page.on('request', r => {
      if (r.isInterceptResolutionHandled()) return;
      if (/starquarry\.data$/.test(r.url()) && refused === 0) {
        refused++;
        r.respond({status: 503, contentType: 'text/plain', body: 'busy'});
      } else {
        r.continue();
      }
    });
    await page.evaluateOnNewDocument(watchTimes);
    await page.goto(url, {waitUntil: 'domcontentloaded'});
    let said = '';
    try {
      await page.waitForFunction(() => window.Starquarry && window.Starquarry.loadError, {timeout: 20000, polling: 20});
      said = await page.evaluate(() => {
        const e = document.querySelector('#loading .error'), b = document.querySelector('#loading button');
        return e && !e.hidden && b && !b.hidden ? `${e.textContent} [${b.textContent}]` : '';
      });
    } catch {
      said = '';
    }
    check('failed file', /could not/.test(said) && /Try again/.test(said), said || 'no message on the page');
    if (!said) return;
    await page.click('#loading button');
    let up = true;
    try {
      await page.waitForFunction(() => window.__splashAt !== undefined, {timeout: 30000, polling: 20});
    } catch {
      up = false;
    }
    check('try again', up, up ? 'the game came up after Try again' : 'no splash after Try again');
  } finally {
    await context.close();
  }
}

export async function loadingChecks(ctx) {
  await slowLine(ctx);
  await failedFile(ctx);
}
