// The demo ship exported by `shipview --export`, checked by programs that are not ours: the
// Khronos glTF validator must find no error and no warning, and assimp must read back as many
// nodes, meshes and triangles as `shipview --info` reports for the same scene. The scene of
// awkward cases that EDGE_SCENE_GLB writes must pass the validator too. Run by CTest:
//   node check-demo-export.js SHIPVIEW DEMO_DIR TOOLS_DIR WORK_DIR EDGE_SCENE_GLB
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');

const [shipview, demoDir, toolsDir, workDir, edgeScene] = process.argv.slice(2);
let failures = 0;
function check(ok, what) {
    console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
    if (!ok) failures++;
}
function run(program, args) {
    const r = spawnSync(program, args, { cwd: demoDir, encoding: 'utf8', maxBuffer: 1 << 26 });
    if (r.error) {
        console.error(`${program}: ${r.error.message}; tools/install-deps.sh installs it`);
        process.exit(1);
    }
    return r;
}

// What the export holds, by --info: the objects exported (cannon markers and patches only
// with --markers), their parts with a whole triangle at the level shown, and the root nodes
// (assimp adds a node above several roots).
function expected(info, markers) {
    const bySlot = new Map(info.objects.map((o) => [o.slot, o]));
    const exported = (o) => markers || (o.kind !== 203 && o.kind !== 206);
    let objects = 0, meshes = 0, triangles = 0, roots = 0;
    for (const o of info.objects) {
        if (!exported(o)) continue;
        objects++;
        for (const part of o.levels[o.currentLevel]) {
            if (part.vertices > 0 && part.triangles > 0) {
                meshes++;
                triangles += part.triangles;
            }
        }
        let below = o.slot, parent = o.parent, hung = false;
        while (parent >= 0 && parent < below && bySlot.has(parent)) {
            if (exported(bySlot.get(parent))) { hung = true; break; }
            below = parent;
            parent = bySlot.get(parent).parent;
        }
        if (!hung) roots++;
    }
    return { objects, meshes, triangles, nodes: objects + meshes + (roots > 1 ? 1 : 0) };
}

function assimpCounts(file) {
    const r = run('assimp', ['info', file, '--raw']);
    check(r.status === 0, `assimp reads ${path.basename(file)}`);
    const field = (name) => {
        const m = r.stdout.match(new RegExp(`^${name}:\\s+(\\d+)`, 'm'));
        return m ? Number(m[1]) : NaN;
    };
    return { nodes: field('Nodes'), meshes: field('Meshes'), triangles: field('Faces') };
}

async function validate(validator, file) {
    const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)));
    for (const m of report.issues.messages) {
        console.log(`  validator: ${m.code} ${m.message} at ${m.pointer}`);
    }
    check(report.issues.numErrors === 0 && report.issues.numWarnings === 0,
          `validator on ${path.basename(file)}: ${report.issues.numErrors} errors, ` +
          `${report.issues.numWarnings} warnings`);
    return report;
}

async function main() {
    const validator = require(path.join(toolsDir, 'node_modules', 'gltf-validator'));
    fs.mkdirSync(workDir, { recursive: true });

    const edge = path.join(workDir, 'edge.glb');
    const edgeRun = run(edgeScene, [edge]);
    check(edgeRun.status === 0, `edge-scene-glb ${edgeRun.stderr.trim()}`);
    await validate(validator, edge);
    check(run('assimp', ['info', edge, '--raw']).status === 0, 'assimp reads edge.glb');

    const infoRun = run(shipview, ['--info', 'Demo.def']);
    check(infoRun.status === 0, 'shipview --info Demo.def');
    const info = JSON.parse(infoRun.stdout);

    for (const markers of [false, true]) {
        const file = path.join(workDir, markers ? 'demo-markers.glb' : 'demo.glb');
        const args = ['--export', 'Demo.def', file].concat(markers ? ['--markers'] : []);
        const exportRun = run(shipview, args);
        check(exportRun.status === 0 && exportRun.stderr === '',
              `shipview ${args.join(' ')} ${exportRun.stderr.trim()}`);

        const report = await validate(validator, file);

        const want = expected(info, markers);
        const got = assimpCounts(file);
        for (const key of ['nodes', 'meshes', 'triangles']) {
            check(got[key] === want[key], `assimp ${key}: ${got[key]}, --info: ${want[key]}`);
        }
        check(report.info.totalTriangleCount === want.triangles,
              `validator triangles: ${report.info.totalTriangleCount}, --info: ${want.triangles}`);
    }
    console.log(failures === 0 ? 'all checks passed' : `${failures} checks failed`);
    process.exit(failures === 0 ? 0 : 1);
}

main().catch((e) => {
    console.error(e);
    process.exit(1);
});
