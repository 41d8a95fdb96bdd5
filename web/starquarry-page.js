// The page around the game: its stored folder (IndexedDB), the packs a
// player adds, the picture's size, and a small read-only status for scripts
// that drive the page.
(function () {
  'use strict';
  const HOME = '/home/web/starquarry';
  const SHIPPED = '/game/packs';
  const OWN_KEY = 'starquarry.own-packs';
  const RING = 256;
  // The list screens are known by their titles; the page's status names them shortly.
  const SCREEN_NAMES = {
    'Select player': 'players',
    'Enter new player name': 'name',
    'Really erase player?': 'erase',
    'Select level pack': 'packs',
    'Daily Quarry: past days': 'daily-days',
  };

  const status = (window.Starquarry = {
    ready: false,
    frames: 0,
    step: 0,
    screen: '',
    pack: '',
    map: -1,
    frameTimes: new Float64Array(RING),
    frameIndex: 0,
    synced: 0,
    syncing: false,
    packsAdded: 0,
    downloads: 0,
  });

  const canvas = document.getElementById('canvas');
  const note = document.getElementById('pack-note');

  // The stored folder is written out after each save; saves that come
  // while one write-out runs are gathered into the next.
  let syncRunning = false;
  let syncAgain = false;
  function syncOut() {
    if (syncRunning) {
      syncAgain = true;
      return;
    }
    syncRunning = true;
    status.syncing = true;
    FS.syncfs(false, function (err) {
      syncRunning = false;
      if (err) console.warn('Starquarry: the stored folder could not be written: ' + err);
      status.synced++;
      if (syncAgain) {
        syncAgain = false;
        syncOut();
      } else {
        status.syncing = false;
      }
    });
  }

  // Packs the player saved in the editor or added here stay theirs; the
  // shipped ones are renewed on every visit.
  function ownPacks() {
    try {
      return new Set(JSON.parse(localStorage.getItem(OWN_KEY) || '[]'));
    } catch (e) {
      return new Set();
    }
  }
  function markOwn(name) {
    const own = ownPacks();
    if (own.has(name)) return;
    own.add(name);
    try {
      localStorage.setItem(OWN_KEY, JSON.stringify([...own]));
    } catch (e) {}
  }
  function baseName(path) {
    return path.substring(path.lastIndexOf('/') + 1);
  }

  function placeShippedPacks() {
    const own = ownPacks();
    for (const name of FS.readdir(SHIPPED)) {
      if (!name.endsWith('.sq') || own.has(name)) continue;
      FS.writeFile(HOME + '/' + name, FS.readFile(SHIPPED + '/' + name));
    }
  }

  function addPack(file) {
    if (!/\.sq$/i.test(file.name)) {
      note.textContent = file.name + ' is not a level pack (.sq)';
      return;
    }
    if (!status.ready) {
      note.textContent = 'the game is still loading';
      return;
    }
    const name = baseName(file.name).replace(/[^A-Za-z0-9._ -]/g, '_');
    file.arrayBuffer().then(function (bytes) {
      FS.writeFile(HOME + '/' + name, new Uint8Array(bytes));
      markOwn(name);
      status.packsAdded++;
      syncOut();
      note.textContent = name + ' added: it is in the level pack list';
    });
  }

  // Whole-number scale that fits the window; 1 when it does not fit at all.
  function fitCanvas() {
    const room = ['packs', 'keys', 'ended'].reduce((sum, id) => sum + document.getElementById(id).offsetHeight, 16);
    const scale = Math.max(1, Math.min(Math.floor(window.innerWidth / 640), Math.floor((window.innerHeight - room) / 480)));
    canvas.style.width = 640 * scale + 'px';
    canvas.style.height = 480 * scale + 'px';
  }
  window.addEventListener('resize', fitCanvas);
  document.getElementById('again').addEventListener('click', function () {
    location.reload();
  });
  fitCanvas();

  // Keys the game uses must not scroll the page or reach the browser's own
  // commands (help, find, reload, ...).
  const GAME_KEYS = new Set([
    'ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', ' ', 'Backspace', 'Tab', 'PageUp', 'PageDown', 'Home', 'End',
    'F1', 'F2', 'F3', 'F4', 'F5', 'F6', 'F7', 'F8', 'F9', 'F10', 'F11', 'F12',
  ]);
  function keepKey(e) {
    if (e.target instanceof HTMLInputElement) return;
    if (GAME_KEYS.has(e.key) || (e.ctrlKey && (e.key === 's' || e.key === 'S'))) e.preventDefault();
  }
  window.addEventListener('keydown', keepKey, true);
  window.addEventListener('keyup', keepKey, true);

  document.getElementById('pack-file').addEventListener('change', function (e) {
    for (const f of e.target.files) addPack(f);
    e.target.value = '';
    canvas.focus();
  });
  document.addEventListener('dragover', function (e) {
    e.preventDefault();
    document.body.classList.add('dropping');
  });
  document.addEventListener('dragleave', function () {
    document.body.classList.remove('dropping');
  });
  document.addEventListener('drop', function (e) {
    e.preventDefault();
    document.body.classList.remove('dropping');
    for (const f of e.dataTransfer.files) addPack(f);
  });

  window.Module = {
    canvas: canvas,
    thisProgram: '/game/starquarry',
    arguments: ['-mainlog', HOME + '/starquarry.log'],
    preRun: [
      function () {
        ENV.SDL_VIDEODRIVER = 'emscripten';
        FS.mkdirTree(HOME);
        FS.mount(IDBFS, {}, HOME);
        Module.addRunDependency('stored-folder');
        FS.syncfs(true, function (err) {
          if (err) console.warn('Starquarry: the stored folder could not be read: ' + err);
          Module.removeRunDependency('stored-folder');
        });
      },
    ],
    onRuntimeInitialized: function () {
      placeShippedPacks();
      FS.chdir(HOME);
      status.ready = true;
      canvas.focus();
    },
    // Hooks the game calls.
    sqFrame: function () {
      status.frameTimes[status.frameIndex] = performance.now();
      status.frameIndex = (status.frameIndex + 1) % RING;
      status.frames++;
    },
    sqPack: function (name) {
      status.pack = name;
    },
    sqMap: function (text) {
      status.map = Number(text);
    },
    sqStep: function () {
      status.step++;
    },
    sqScreen: function (name) {
      status.screen = SCREEN_NAMES[name] || name;
      if (status.screen === 'ended') {
        document.getElementById('ended').hidden = false;
        fitCanvas();
        document.getElementById('again').focus({ preventScroll: true });
      }
      // Overlays keep the map they were opened over.
      if (!['play', 'watch', 'help', 'options'].includes(status.screen)) status.map = -1;
    },
    sqFileWritten: function (path) {
      if (path.endsWith('.sq')) markOwn(baseName(path));
      syncOut();
    },
    sqOfferDownload: function (path) {
      const blob = new Blob([FS.readFile(path)], { type: 'application/octet-stream' });
      const link = document.createElement('a');
      link.href = URL.createObjectURL(blob);
      link.download = baseName(path);
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(function () {
        URL.revokeObjectURL(link.href);
      }, 10000);
      status.downloads++;
    },
    print: function (text) {
      console.log(text);
    },
    printErr: function (text) {
      console.warn(text);
    },
  };
})();
