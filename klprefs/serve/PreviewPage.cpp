#include "PreviewPage.h"

namespace {

constexpr std::string_view kPage = R"PAGE(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>klprefs serve</title>
<style>
  :root { color-scheme: light dark; font: 13px system-ui, sans-serif; }
  body { margin: 0; display: flex; gap: 16px; padding: 16px; align-items: flex-start; }
  #screen { position: relative; flex: none; box-shadow: 0 2px 12px #0004; border-radius: 8px;
            overflow: hidden; outline: none; }
  #frame { display: block; user-select: none; -webkit-user-drag: none; cursor: pointer; }
  #error { position: absolute; inset: 0; background: #200c; color: #fdd; padding: 16px;
           white-space: pre-wrap; overflow-wrap: anywhere; font: 12px monospace;
           display: none; }
  #side { flex: 1; display: grid; grid-template-columns: repeat(auto-fill, minmax(320px, 1fr));
          gap: 12px; min-width: 320px; }
  section { border: 1px solid #8884; border-radius: 8px; padding: 8px 10px; }
  h2 { font-size: 12px; text-transform: uppercase; letter-spacing: .05em; margin: 0 0 6px;
       color: #888; }
  pre { margin: 0; max-height: 260px; overflow: auto; font: 11px monospace; white-space: pre-wrap; }
  label { display: inline-block; margin: 2px 8px 2px 0; }
  input[type=text] { width: 100%; box-sizing: border-box; font: 12px monospace; }
  #log div { font: 11px monospace; border-bottom: 1px solid #8882; padding: 1px 0; }
  .warning { color: #c60; } .bad { color: #d22; }
  #status { font: 12px monospace; min-height: 1.4em; }
</style>
</head>
<body>
<div id="screen" tabindex="0">
  <img id="frame" alt="the page" draggable="false">
  <div id="error"></div>
</div>
<div id="side">
  <section><h2>Variant</h2>
    <label>Appearance <select id="appearance"><option>light</option><option>dark</option></select></label>
    <label>Device <select id="device"><option value="">standard</option><option>iphone-se</option>
      <option>iphone-15</option><option>iphone-15-pro-max</option><option>ipad-10</option>
      <option>ipad-pro-12.9</option></select></label>
    <label>Orientation <select id="orientation"><option>portrait</option><option>landscape</option></select></label>
    <label>Text size <select id="contentSize"><option>xs</option><option>s</option><option>m</option>
      <option>l</option><option>xl</option><option>xxl</option><option>xxxl</option><option>ax1</option>
      <option>ax2</option><option>ax3</option><option>ax4</option><option>ax5</option></select></label>
    <label>Language <input id="language" size="8"></label>
    <label>iOS <input id="ios" size="6"></label>
    <div>Libraries loaded <label><input id="klutils" type="checkbox"> libklutils</label>
      <label><input id="privateFrameworks" type="checkbox"> private frameworks</label></div>
  </section>
  <section><h2>Step</h2>
    <input id="step" type="text" placeholder="a script step, such as: toggle Enabled">
    <h2 style="margin-top:8px">Keyboard</h2>
    <input id="keyboard" type="text" placeholder="typed into the field with the caret; Enter sends">
    <div id="status"></div>
  </section>
  <section><h2>Recorded script</h2>
    <label>Row <select id="expectRow"></select></label>
    <button id="expectStored">add expectation: stored</button>
    <button id="expectShown">add expectation: shown</button>
    <br><input id="pictureName" type="text" placeholder="picture name (page-N when empty)">
    <button id="expectScreen">add expectation: picture of the screen</button>
    <button id="expectRowPicture">add expectation: picture of the row</button>
    <button id="save">save</button>
    <pre id="script"></pre>
  </section>
  <section><h2>Stored values</h2><pre id="domains"></pre></section>
  <section><h2>Warnings</h2><div id="warnings"></div></section>
  <section><h2>Events</h2><div id="log"></div></section>
</div>
<script>
"use strict";
const $ = (id) => document.getElementById(id);
const frame = $("frame");
let scale = 2, shown = 0, pointer = null;
window.klprefs = { frame: 0, frameLoadedAt: 0, sentAt: 0, page: null };

function status(text, bad) {
  $("status").textContent = text || "";
  $("status").className = bad ? "bad" : "";
}

async function post(path, body) {
  const response = await fetch(path, { method: "POST", body: JSON.stringify(body),
    headers: { "Content-Type": "application/json" } });
  const answer = await response.json().catch(() => ({ error: response.statusText }));
  if (!response.ok) { status(answer.error, true); throw new Error(answer.error); }
  status(answer.step ? "did: " + answer.step : "");
  if (answer.script !== undefined) $("script").textContent = answer.script;
  return answer;
}

function showFrame(event) {
  if (event.generation <= shown) return;
  shown = event.generation;
  scale = event.scale || scale;
  const next = new Image();
  next.onload = () => {
    frame.src = next.src;
    frame.style.width = (next.naturalWidth / scale) + "px";
    window.klprefs.frame = event.generation;
    window.klprefs.frameLoadedAt = Date.now();
  };
  next.src = "/api/frame.png?g=" + event.generation;
  $("error").style.display = event.error ? "block" : "none";
  $("error").textContent = event.error ? "The bundle could not be loaded:\n\n" + event.error : "";
}

function showPage(page) {
  window.klprefs.page = page;
  $("domains").textContent = JSON.stringify(page.domains, null, 2);
  $("script").textContent = page.script;
  const v = page.variant;
  for (const name of ["appearance", "orientation", "contentSize", "language", "ios"])
    if (document.activeElement !== $(name)) $(name).value = v[name];
  $("device").value = v.device || "";
  $("klutils").checked = v.libraries.klutils;
  $("privateFrameworks").checked = v.libraries.privateFrameworks;
  const select = $("expectRow"), chosen = select.value;
  select.replaceChildren(...page.rows.map((row) => {
    const option = document.createElement("option");
    option.value = row.index;
    option.textContent = row.index + ": " + (row.label || row.key || row.cell || "");
    return option;
  }));
  if (chosen) select.value = chosen;
}

function addLog(entry) {
  const line = document.createElement("div");
  const details = Object.entries(entry).filter(([k]) => k !== "kind")
    .map(([k, v]) => k + "=" + JSON.stringify(v)).join(" ");
  line.textContent = entry.kind + " " + details;
  const warning = ["warning", "error", "storeFailed", "loadError"].includes(entry.kind);
  if (warning) {
    line.className = "warning";
    $("warnings").prepend(line.cloneNode(true));
  }
  $("log").prepend(line);
  for (const box of [$("log"), $("warnings")])
    while (box.childElementCount > 200) box.lastChild.remove();
}

function pointAt(event) {
  const box = frame.getBoundingClientRect();
  const width = frame.naturalWidth / scale;
  return { x: (event.clientX - box.left) * width / box.width,
           y: (event.clientY - box.top) * width / box.width };
}

frame.addEventListener("pointerdown", (event) => {
  event.preventDefault();
  pointer = pointAt(event);
  frame.setPointerCapture(event.pointerId);
});
frame.addEventListener("pointerup", async (event) => {
  if (!pointer) return;
  const from = pointer, to = pointAt(event);
  pointer = null;
  window.klprefs.sentAt = Date.now();
  const far = Math.hypot(to.x - from.x, to.y - from.y) >= 4;
  const answer = await (far ? post("/api/drag", { from, to }) : post("/api/click", from))
    .catch(() => null);
  if (answer && answer.focus) $("keyboard").focus();
});

$("keyboard").addEventListener("keydown", async (event) => {
  if (event.key !== "Enter") return;
  const text = $("keyboard").value;
  await post("/api/type", { text }).then(() => { $("keyboard").value = ""; }).catch(() => {});
});
$("step").addEventListener("keydown", async (event) => {
  if (event.key !== "Enter") return;
  await post("/api/step", { step: $("step").value }).then(() => { $("step").value = ""; })
    .catch(() => {});
});
for (const name of ["appearance", "device", "orientation", "contentSize", "language", "ios"])
  $(name).addEventListener("change", () =>
    post("/api/variant", { [name]: $(name).value }).catch(() => {}));
// Other libraries start serve anew: the page follows once it is back.
for (const name of ["klutils", "privateFrameworks"])
  $(name).addEventListener("change", () => {
    post("/api/variant", { libraries: { [name]: $(name).checked } })
      .then(() => status("starting serve anew with other libraries")).catch(() => {});
  });
for (const what of ["stored", "shown"])
  $("expect" + what[0].toUpperCase() + what.slice(1)).addEventListener("click", () =>
    post("/api/expect", { row: Number($("expectRow").value), what }).catch(() => {}));
for (const [id, ofRow] of [["expectScreen", false], ["expectRowPicture", true]])
  $(id).addEventListener("click", () =>
    post("/api/expect", { what: "image", name: $("pictureName").value || null,
                          row: ofRow ? Number($("expectRow").value) : null })
      .then(() => { $("pictureName").value = ""; }).catch(() => {}));
$("save").addEventListener("click", async () => {
  const answer = await post("/api/save", {}).catch(() => null);
  if (answer) {
    status("saved " + answer.saved + (answer.pictures.length ?
      " and " + answer.pictures.length + " picture(s)" : ""));
    return;
  }
  // Without a file to write, the browser downloads the script.
  const text = await (await fetch("/api/script")).text();
  const link = document.createElement("a");
  link.href = URL.createObjectURL(new Blob([text], { type: "text/plain" }));
  link.download = "recorded.script";
  link.click();
});

const events = new EventSource("/api/events");
events.addEventListener("frame", (message) => showFrame(JSON.parse(message.data)));
events.addEventListener("page", (message) => showPage(JSON.parse(message.data)));
events.addEventListener("log", (message) => addLog(JSON.parse(message.data)));
// The page as it is now, at first and after each reconnection.
events.addEventListener("open", () =>
  fetch("/api/page").then((response) => response.json()).then((page) => {
    showPage(page);
    showFrame({ generation: page.generation, scale: page.variant.scale, error: page.loadError });
  }).catch(() => {}));
</script>
</body>
</html>
)PAGE";

} // namespace

std::string_view PreviewPage::html() {
    return kPage;
}
