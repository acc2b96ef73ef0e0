// Figures of the HTML page, one run: file size and time until window.msarender.ready for fn3, the shared
// 2,000 x 749 amplicons and a synthetic 20,000 x 1,000 protein alignment (also wrapped); frames over 60
// wheel steps (95th percentile) and the JS heap after them. Uses tests/page/node_modules (scripts/setup.sh installs it).
//   node bench/page_bench.js [path/to/msarender] [work folder]
'use strict';
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const puppeteer = require('../tests/page/node_modules/puppeteer-core');

const root = path.resolve(__dirname, '..');
const command = process.argv[2] || path.join(root, 'build/apps/msarender/msarender');
const work = process.argv[3] || path.join(root, 'build/page-bench');
fs.mkdirSync(work, {recursive: true});

const synthetic = path.join(work, 'synthetic_random_protein_20000x1000.fa');
if (!fs.existsSync(synthetic)) {
  let seed = 1;
  const letters = 'ACDEFGHIKLMNPQRSTVWY----';
  const lines = [];
  for (let row = 0; row < 20000; ++row) {
    let text = '';
    for (let column = 0; column < 1000; ++column) {
      // 32-bit integer steps (doubles would lose the product's low bits and cycle); the high bits.
      seed = (Math.imul(seed, 1664525) + 1013904223) >>> 0;
      text += letters[Math.floor((seed / 4294967296) * letters.length)];
    }
    lines.push(`>synthetic_${row + 1}\n${text}`);
  }
  fs.writeFileSync(synthetic, lines.join('\n') + '\n');
}
const inputs = [
  ['fn3', path.join(root, 'tests/data/fn3.sto'), '-', '-'],
  ['amplicons 2,000 x 749', path.join(root, '../shared/data/amplicons18S_2000x749.afa.gz'), 3, 1.5],
  ['synthetic 20,000 x 1,000', synthetic, 30, 3],
  ['synthetic, wrapped at 100', synthetic, '-', '-', ['--wrap', '100']],
];

const percentile = (values, p) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor((p / 100) * sorted.length))];
};

(async () => {
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--enable-precise-memory-info', '--user-data-dir=' + path.join(work, 'profile-' + process.pid)]});
  console.log('input | page MB (target) | written s | ready s (target) | draw p95 ms (33) | frame interval p95 ms | draws | JS heap MB');
  for (const [name, input, sizeTarget, readyTarget, options = []] of inputs) {
    const file = path.join(work, path.basename(input).replace(/(\.gz)?$/, '') + options.join('') + '.html');
    const started = process.hrtime.bigint();
    execFileSync(command, ['-q', input, ...options, '-o', file], {env: {...process.env, QT_QPA_PLATFORM: 'offscreen'}});
    const written = Number(process.hrtime.bigint() - started) / 1e9;
    const page = await browser.newPage();
    await page.setViewport({width: 1600, height: 1000, deviceScaleFactor: 1});
    await page.goto('file://' + file);
    const ready = await page.evaluate(async () => {
      await window.msarender.ready;
      return performance.now() / 1000;  // since the navigation started
    });
    // Frames: 60 wheel steps, each timed inside the page around its draw, and the intervals between
    // animation frames while the steps scroll (a slow frame shows as a long interval).
    const box = await page.evaluate(() => {
      const r = window.msarender.view.getBoundingClientRect();
      return {x: r.left + r.width / 2, y: r.top + r.height / 2};
    });
    await page.mouse.move(box.x, box.y);
    await page.evaluate(() => {
      window.benchFrames = [];
      let last = performance.now();
      const tick = (now) => {
        window.benchFrames.push(now - last);
        last = now;
        if (!window.benchStop) requestAnimationFrame(tick);
      };
      requestAnimationFrame(tick);
    });
    const drawsBefore = (await page.evaluate(() => window.msarender.drawTimes)).length;
    for (let step = 0; step < 60; ++step) {
      await page.mouse.wheel({deltaY: 120, deltaX: step % 3 === 0 ? 40 : 0});
      await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    }
    const {draws, frames} = await page.evaluate(() => {
      window.benchStop = true;
      return {draws: window.msarender.drawTimes, frames: window.benchFrames};
    });
    const scrolled = draws.slice(drawsBefore);  // fewer than the 240 kept
    if (process.env.PAGE_BENCH_VERBOSE) console.log(scrolled.map((t) => t.toFixed(1)).join(" "));
    const heap = (await page.metrics()).JSHeapUsedSize / 1048576;
    const size = fs.statSync(file).size / 1048576;
    console.log(`${name} | ${size.toFixed(2)} (${sizeTarget}) | ${written.toFixed(2)} | ${ready.toFixed(2)} ` +
                `(${readyTarget}) | ${percentile(scrolled, 95).toFixed(1)} | ${percentile(frames, 95).toFixed(1)} | ` +
                `${scrolled.length} | ${heap.toFixed(1)}`);
    await page.close();
  }
  await browser.close();
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
