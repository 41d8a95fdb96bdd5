// The page while the game's files arrive: a picture with a progress bar at
// once (the files are 1.5 MB; on a slow mobile line that is many seconds),
// a message in words with a way to try again when a file does not come, and
// the songs fetched once the game runs (it plays without them until each
// arrives). Starts the game itself when its files are here.
(function () {
  'use strict';
  const status = window.Starquarry || (window.Starquarry = {});
  const Module = window.Module || (window.Module = {});
  const canvas = document.getElementById('canvas');
  const stage = document.getElementById('stage') || document.body;
  // What the game needs before it starts, fetched together.
  const CORE = ['starquarry.wasm', 'starquarry.data', 'starquarry.js'];
  // A download that gets nothing for this long has stopped.
  const STALL_MS = 30000;
  const MUSIC_DIR = '/game/Data';

  Object.assign(status, {loadingShownAt: 0, loaded: 0, total: 0, loadError: '', started: false, musicArrived: 0,
                         musicTotal: 0, musicLoaded: 0, musicError: ''});

  // --- The picture -----------------------------------------------------
  const style = document.createElement('style');
  style.textContent =
    '#stage { position: relative; }' +
    '#loading { position: absolute; left: 0; top: 0; display: flex; flex-direction: column; align-items: center;' +
    ' justify-content: center; background: #000; color: #ddd; font: 15px/1.5 sans-serif; text-align: center; }' +
    '#loading canvas { width: 240px; height: 150px; }' +
    '#loading .bar { width: 320px; max-width: 80%; height: 10px; margin: 14px 0 6px; border: 1px solid #c84;' +
    ' border-radius: 5px; overflow: hidden; }' +
    '#loading .fill { width: 0; height: 100%; background: #c84; transition: width 0.2s; }' +
    '#loading .error { color: #f96; max-width: 80%; }' +
    '#loading button, #music-note button { margin-top: 10px; font: inherit; padding: 4px 14px; }' +
    '#music-note { margin: 4px 0 0; color: #f96; text-align: center; }';
  document.head.appendChild(style);

  const cover = document.createElement('div');
  cover.id = 'loading';
  cover.setAttribute('role', 'status');
  cover.innerHTML =
    '<canvas width="240" height="150" aria-hidden="true"></canvas>' +
    '<div class="title">Starquarry is loading</div>' +
    '<div class="bar"><div class="fill"></div></div>' +
    '<div class="count">&nbsp;</div>' +
    '<div class="error" hidden></div>' +
    '<button type="button" hidden>Try again</button>';
  stage.appendChild(cover);
  const fill = cover.querySelector('.fill');
  const count = cover.querySelector('.count');
  const errorLine = cover.querySelector('.error');
  const retry = cover.querySelector('button');

  // The cover lies over the game's canvas, whatever size the page gives it.
  function placeCover() {
    cover.style.left = canvas.offsetLeft + 'px';
    cover.style.top = canvas.offsetTop + 'px';
    cover.style.width = canvas.offsetWidth + 'px';
    cover.style.height = canvas.offsetHeight + 'px';
  }
  placeCover();
  window.addEventListener('resize', placeCover);
  if (window.ResizeObserver) new ResizeObserver(placeCover).observe(canvas);

  // A diamond over a strip of quarry, drawn here: no picture to wait for.
  function drawPicture() {
    const g = cover.querySelector('canvas').getContext('2d');
    g.fillStyle = '#000';
    g.fillRect(0, 0, 240, 150);
    for (let x = 0; x < 240; x += 24) {
      g.fillStyle = (x / 24) % 2 ? '#6b4a2b' : '#5a3d22';
      g.fillRect(x, 118, 24, 32);
      g.fillStyle = '#8a8f99';
      g.fillRect(x + 2, 120, 20, 6);
    }
    const facets = [
      ['#9fe8ff', [120, 20], [150, 50], [120, 50]],
      ['#5cc8f0', [120, 20], [90, 50], [120, 50]],
      ['#2a8fc4', [90, 50], [120, 105], [120, 50]],
      ['#47aee0', [150, 50], [120, 105], [120, 50]],
    ];
    for (const [colour, ...points] of facets) {
      g.fillStyle = colour;
      g.beginPath();
      g.moveTo(points[0][0], points[0][1]);
      for (const [x, y] of points.slice(1)) g.lineTo(x, y);
      g.closePath();
      g.fill();
    }
    g.fillStyle = '#fff';
    g.fillRect(128, 32, 3, 3);
  }
  drawPicture();
  status.loadingShownAt = performance.now();

  function megabytes(n) {
    return (n / 1e6).toFixed(1);
  }
  function showProgress() {
    const { loaded, total } = status;
    const share = total > 0 ? Math.min(1, loaded / total) : 0;
    fill.style.width = (share * 100).toFixed(1) + '%';
    // The sizes are the files' own; what travels may be less (compressed).
    count.textContent = total > 0 ? Math.floor(share * 100) + ' %' : megabytes(loaded) + ' MB';
  }
  function showError(text, again) {
    status.loadError = text;
    errorLine.textContent = text;
    errorLine.hidden = false;
    retry.hidden = false;
    retry.onclick = function () {
      status.loadError = '';
      errorLine.hidden = true;
      retry.hidden = true;
      again();
    };
    retry.focus({ preventScroll: true });
  }

  // --- Fetching with progress ------------------------------------------
  // Collects a stream's bytes into one array.
  async function collect(stream) {
    return new Uint8Array(await new Response(stream).arrayBuffer());
  }
  // The program is compiled while it arrives, as the browser would do it.
  function compile(stream) {
    if (!WebAssembly.compileStreaming) return collect(stream).then((b) => WebAssembly.compile(b));
    return WebAssembly.compileStreaming(new Response(stream, { headers: { 'Content-Type': 'application/wasm' } }));
  }

  // One file, its bytes counted as they come and handed to Consume (by
  // default gathered into one array); a download that gets nothing for a
  // while is given up. Rejects with words for the player.
  async function fetchCounted(url, counted, consume = collect) {
    const stop = new AbortController();
    let timer = setTimeout(() => stop.abort(), STALL_MS);
    let response;
    try {
      response = await fetch(url, { signal: stop.signal, cache: 'no-cache' });
    } catch (e) {
      clearTimeout(timer);
      throw new Error(stop.signal.aborted ? 'the server did not answer' : 'the connection failed');
    }
    if (!response.ok) {
      clearTimeout(timer);
      throw new Error('the server answered ' + response.status + ' ' + response.statusText);
    }
    const counter = new TransformStream({
      transform(chunk, out) {
        clearTimeout(timer);
        timer = setTimeout(() => stop.abort(), STALL_MS);
        counted(chunk.length);
        out.enqueue(chunk);
      },
    });
    try {
      return await consume(response.body.pipeThrough(counter));
    } catch (e) {
      if (stop.signal.aborted) throw new Error('the download stopped');
      if (e instanceof WebAssembly.CompileError) throw new Error('the file is damaged');
      throw new Error('the connection broke off');
    } finally {
      clearTimeout(timer);
    }
  }

  // The sizes the progress counts against; without them the bar counts
  // megabytes only.
  const manifest = fetch('starquarry-files.json', { cache: 'no-cache' })
    .then((r) => (r.ok ? r.json() : null))
    .catch(() => null);

  const have = {};
  // Every file starts at once; the sizes join the count when they come.
  async function loadCore() {
    manifest.then((sizes) => {
      if (sizes && sizes.files) status.total = CORE.reduce((sum, f) => sum + (sizes.files[f] || 0), 0);
      showProgress();
    });
    showProgress();
    const missing = CORE.filter((f) => !have[f]);
    const failures = [];
    await Promise.all(
      missing.map(async (f) => {
        let got = 0;
        try {
          const count = (n) => {
            got += n;
            status.loaded += n;
            showProgress();
          };
          have[f] = await fetchCounted(f, count, /\.wasm$/.test(f) ? compile : collect);
        } catch (e) {
          status.loaded -= got;
          failures.push(f + ': ' + e.message);
        }
      })
    );
    showProgress();
    if (failures.length) {
      showError("The game's files could not all be loaded (" + failures.join('; ') +
                  '). Check the connection and try again.', loadCore);
      return;
    }
    start();
  }

  function start() {
    count.textContent = 'Starting the game';
    // The program, compiled already, is instantiated with the imports the
    // script gives.
    Module.instantiateWasm = function (imports, done) {
      WebAssembly.instantiate(have['starquarry.wasm'], imports).then(
        (instance) => done(instance, have['starquarry.wasm']),
        (e) => Module.onAbort(String(e))
      );
      return {};
    };
    Module.getPreloadedPackage = function (name) {
      return /starquarry\.data$/.test(name) ? have['starquarry.data'].buffer : null;
    };
    // The program's script runs from a copy in memory: its own folder is the page's.
    Module.locateFile = (path) => path;
    const script = document.createElement('script');
    script.src = URL.createObjectURL(new Blob([have['starquarry.js']], { type: 'text/javascript' }));
    document.body.appendChild(script);
  }

  // A program that cannot start says so, with the same way out.
  Module.onAbort = function (what) {
    showError('The game could not start (' + (what || 'an error in its program') +
                '). Loading it again may help.', () => location.reload());
  };

  // The first picture of the game takes the cover away; then the songs come.
  const frameHook = Module.sqFrame;
  Module.sqFrame = function () {
    if (!status.started) {
      status.started = true;
      cover.remove();
      loadMusic();
    }
    if (frameHook) frameHook.apply(this, arguments);
  };

  // --- The songs -------------------------------------------------------
  const musicNote = document.createElement('p');
  musicNote.id = 'music-note';
  musicNote.hidden = true;
  stage.appendChild(musicNote);

  // A server that sent the file with its own gzip encoding has had it
  // unpacked by the browser already.
  async function unpack(bytes) {
    if (bytes[0] !== 0x1f || bytes[1] !== 0x8b) return bytes;
    const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Uint8Array(await new Response(stream).arrayBuffer());
  }

  // Each song in turn: unpacked where the game looks first (Data/ beside the
  // program), then the game is told; a song it is waiting for starts then.
  let songs = null;
  async function loadMusic() {
    if (!songs) {
      const sizes = await manifest;
      songs = (sizes && sizes.music) || [];
      status.musicTotal = songs.length;
    }
    if (!window.DecompressionStream) {
      musicNote.textContent = 'This browser cannot unpack the music; the game plays without it.';
      musicNote.hidden = false;
      return;
    }
    musicNote.hidden = true;
    FS.mkdirTree(MUSIC_DIR);
    for (const song of songs) {
      if (song.arrived) continue;
      let bytes = null, why = '';
      for (let attempt = 0; attempt < 3 && !bytes; attempt++) {
        if (attempt) await new Promise((r) => setTimeout(r, 2000 * attempt));
        try {
          bytes = await unpack(await fetchCounted(song.file, () => {}));
        } catch (e) {
          why = e.message;
        }
      }
      if (!bytes) {
        status.musicError = song.name + ': ' + why;
        musicNote.textContent = 'The music could not be loaded (' + status.musicError + '); the game plays on without it. ';
        const again = document.createElement('button');
        again.type = 'button';
        again.textContent = 'Try again';
        again.onclick = () => {
          status.musicError = '';
          loadMusic();
          canvas.focus();
        };
        musicNote.appendChild(again);
        musicNote.hidden = false;
        return;
      }
      FS.writeFile(MUSIC_DIR + '/' + song.name, bytes);
      song.arrived = true;
      status.musicArrived++;
      if (Module._sq_music_arrived) status.musicLoaded += Module._sq_music_arrived();
    }
  }

  loadCore();
})();
