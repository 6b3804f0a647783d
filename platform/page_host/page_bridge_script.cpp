#include "platform/page_host/page_bridge_script.h"

const char kPageBridgeScript[] = R"js(
(function () {
  'use strict';
  const handler = window.webkit.messageHandlers.activex;
  const methods = ['GameContinue', 'GameMenu', 'MuteOn', 'MuteOff', 'PauseOn', 'PauseOff',
                   'GameStart', 'RestartGame', 'SessionStart', 'LoadGame', 'CustomReturn'];
  const keys = new WeakMap();
  const placed = new Map();
  let nextKey = 1;

  const isControl = (object) => /^\s*clsid:/i.test(object.getAttribute('classid') || '');
  const rectOf = (object) => {
    const r = object.getBoundingClientRect();
    return {x: Math.round(r.left), y: Math.round(r.top),
            width: Math.round(r.width), height: Math.round(r.height)};
  };
  const attach = (object) => {
    if (keys.has(object)) return keys.get(object);
    const key = nextKey++;
    keys.set(object, key);
    const params = [];
    for (const param of object.querySelectorAll(':scope > param'))
      params.push([param.getAttribute('name') || '', param.getAttribute('value') || '']);
    const rect = rectOf(object);
    placed.set(key, JSON.stringify(rect));
    handler.postMessage(Object.assign(
        {kind: 'create', key: key, classId: object.getAttribute('classid'), params: params},
        rect));
    return key;
  };
  const controls = () => Array.from(document.querySelectorAll('object[classid]')).filter(isControl);
  const placeAll = () => {
    for (const object of controls()) {
      if (!keys.has(object)) continue;
      const key = keys.get(object);
      const rect = rectOf(object);
      const text = JSON.stringify(rect);
      if (placed.get(key) === text) continue;
      placed.set(key, text);
      handler.postMessage(Object.assign({kind: 'place', key: key}, rect));
    }
  };

  // The host calls this once an object's control runs: its fallback content goes.
  Object.defineProperty(window, '__activexHosted', {
    value: (key) => {
      for (const object of controls())
        if (keys.get(object) === key) object.setAttribute('data-activex-hosted', '');
    }
  });

  for (const method of methods) {
    Object.defineProperty(HTMLObjectElement.prototype, method, {
      configurable: true,
      value: function (argument) {
        if (!isControl(this)) throw new TypeError(method + ' is not a method of this object');
        handler.postMessage({kind: 'invoke', key: attach(this), method: method,
                             argument: argument === undefined ? '' : String(argument)});
      }
    });
  }

  document.addEventListener('DOMContentLoaded', () => {
    const observer = new ResizeObserver(placeAll);
    observer.observe(document.documentElement);
    for (const object of controls()) {
      attach(object);
      observer.observe(object);
    }
  });
  window.addEventListener('load', placeAll);
  window.addEventListener('resize', placeAll);
  window.addEventListener('scroll', placeAll, {passive: true});
})();
)js";
