<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="pt_PT">
<context>
    <name>TAboutBox</name>
    <message>
        <source>Clique na imagem para visitar a minha página</source>
        <translation>Click the picture to visit my web page</translation>
    </message>
    <message>
        <source>Desenho e programação:</source>
        <translation>Design and programming:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Programa de impressão de lurns para CD</source>
        <translation>CD cover printing program</translation>
    </message>
    <message>
        <source>Sobre</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Versão 1.2</source>
        <translation>Version 1.2</translation>
    </message>
    <message>
        <source>a equipa Lurns</source>
        <translation>the Lurns team</translation>
    </message>
</context>
<context>
    <name>TDialogoFaixas</name>
    <message>
        <source>Importar faixas</source>
        <translation>Import Tracks</translation>
    </message>
    <message>
        <source>Faixas de %1:</source>
        <translation>Tracks of %1:</translation>
    </message>
    <message>
        <source>Título</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Linha na capa</source>
        <translation>Line on the cover</translation>
    </message>
    <message>
        <source>Ficheiros ignorados:</source>
        <translation>Files left out:</translation>
    </message>
    <message>
        <source>{n} número, {t} título, {a} artista, {d} duração</source>
        <translation>{n} number, {t} title, {a} artist, {d} length</translation>
    </message>
    <message>
        <source>&amp;Formato da linha:</source>
        <translation>Line &amp;format:</translation>
    </message>
    <message>
        <source>&amp;Letra...</source>
        <translation>&amp;Font...</translation>
    </message>
    <message>
        <source>Letra:</source>
        <translation>Font:</translation>
    </message>
    <message>
        <source>Trás</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Interior</source>
        <translation>Inside</translation>
    </message>
    <message>
        <source>Fol&amp;ha:</source>
        <translation>S&amp;heet:</translation>
    </message>
    <message>
        <source>Álbum na frente: %1</source>
        <translation>Album on the front: %1</translation>
    </message>
    <message>
        <source>Álbum na frente (título e artista não conhecidos)</source>
        <translation>Album on the front (title and artist not known)</translation>
    </message>
    <message>
        <source>Álbum nas lombadas</source>
        <translation>Album on the spines</translation>
    </message>
    <message>
        <source>&amp;Colocar</source>
        <translation>&amp;Place</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TfrmLurn</name>
    <message>
        <source>&amp;Abrir</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>&amp;Ajuda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Apagar</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>&amp;Copiar</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Cor de fundo</source>
        <translation>Background &amp;colour</translation>
    </message>
    <message>
        <source>&amp;Editar</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Ficheiros</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Gravar</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;Imagem de fundo</source>
        <translation>Background &amp;picture</translation>
    </message>
    <message>
        <source>&amp;Imprimir</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>&amp;Novo</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Objectos</source>
        <translation>&amp;Objects</translation>
    </message>
    <message>
        <source>&amp;Parametros</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>&amp;Exportar…</source>
        <translation>&amp;Export…</translation>
    </message>
    <message>
        <source>Exporta as páginas da lurn para PDF, PNG ou SVG</source>
        <translation>Export the cover’s pages as PDF, PNG or SVG</translation>
    </message>
    <message>
        <source>&amp;Prever Impressão</source>
        <translation>Print pre&amp;view</translation>
    </message>
    <message>
        <source>&amp;Sair</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Sobre...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>Abrir uma lurn gravada em disco</source>
        <translation>Open a cover saved on disk</translation>
    </message>
    <message>
        <source>Ajuda do programa</source>
        <translation>Program help</translation>
    </message>
    <message>
        <source>Alinha o texto à direita</source>
        <translation>Aligns the text to the right</translation>
    </message>
    <message>
        <source>Alinha o texto à esquerda</source>
        <translation>Aligns the text to the left</translation>
    </message>
    <message>
        <source>Alinhar &amp;Direita</source>
        <translation>Align &amp;Right</translation>
    </message>
    <message>
        <source>Alinhar &amp;Esquerda</source>
        <translation>Align &amp;Left</translation>
    </message>
    <message>
        <source>Alinhar à grelha</source>
        <translation>Snap to grid</translation>
    </message>
    <message>
        <source>Altera a cor de fundo da lurn</source>
        <translation>Changes the background colour of the cover</translation>
    </message>
    <message>
        <source>Altera a imagem de fundo da lurn</source>
        <translation>Changes the background picture of the cover</translation>
    </message>
    <message>
        <source>Alterar &amp;fonte e cor</source>
        <translation>Change &amp;font and colour</translation>
    </message>
    <message>
        <source>Alterar a fonte e/ou cor do texto seleccionado</source>
        <translation>Change the font and/or colour of the selected text</translation>
    </message>
    <message>
        <source>Alterar a imagem seleccionada</source>
        <translation>Change the selected picture</translation>
    </message>
    <message>
        <source>Alterar fonte</source>
        <translation>Change font</translation>
    </message>
    <message>
        <source>Alterar ima&amp;gem</source>
        <translation>Change pict&amp;ure</translation>
    </message>
    <message>
        <source>Apaga o objecto seleccionado</source>
        <translation>Deletes the selected object</translation>
    </message>
    <message>
        <source>Apagar</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>C&amp;olar</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>C&amp;onfigurar Impressora</source>
        <translation>Printer set&amp;up</translation>
    </message>
    <message>
        <source>CD</source>
        <translation>CD</translation>
    </message>
    <message>
        <source>Cen&amp;trar</source>
        <translation>Cen&amp;tre</translation>
    </message>
    <message>
        <source>Centra o texto</source>
        <translation>Centres the text</translation>
    </message>
    <message>
        <source>Colar</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Configuração da impressora</source>
        <translation>Printer setup</translation>
    </message>
    <message>
        <source>Copia da transferência para o painel actual</source>
        <translation>Pastes from the clipboard onto the current sheet</translation>
    </message>
    <message>
        <source>Copia o objecto seleccionado para a transferência</source>
        <translation>Copies the selected object to the clipboard</translation>
    </message>
    <message>
        <source>Copiar</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Criação de uma nova lurn</source>
        <translation>Create a new cover</translation>
    </message>
    <message>
        <source>Editar o texto seleccionado</source>
        <translation>Edit the selected text</translation>
    </message>
    <message>
        <source>Editar texto &amp;seleccionado</source>
        <translation>Edit &amp;selected text</translation>
    </message>
    <message>
        <source>Editar/Alterar imagem</source>
        <translation>Edit/Change picture</translation>
    </message>
    <message>
        <source>Está farto de fazer lurns e quer dar de &quot;frosques&quot;?</source>
        <translation>Tired of making covers and want to &quot;scram&quot;?</translation>
    </message>
    <message>
        <source>Frente</source>
        <translation>Front</translation>
    </message>
    <message>
        <source>Gravar &amp;Como</source>
        <translation>Save &amp;As</translation>
    </message>
    <message>
        <source>Gravar uma lurn em disco</source>
        <translation>Save a cover to disk</translation>
    </message>
    <message>
        <source>Gravar uma lurn em disco com novo nome</source>
        <translation>Save a cover to disk under a new name</translation>
    </message>
    <message>
        <source>Imprime a lurn actual</source>
        <translation>Prints the current cover</translation>
    </message>
    <message>
        <source>Insere um campo de texto</source>
        <translation>Inserts a text field</translation>
    </message>
    <message>
        <source>Insere uma nova imagem</source>
        <translation>Inserts a new picture</translation>
    </message>
    <message>
        <source>Inserir &amp;texto</source>
        <translation>Insert &amp;text</translation>
    </message>
    <message>
        <source>Inserir i&amp;magem</source>
        <translation>Insert pi&amp;cture</translation>
    </message>
    <message>
        <source>Interior</source>
        <translation>Inside</translation>
    </message>
    <message>
        <source>Limpar Imagem Fundo</source>
        <translation>Clear Background Picture</translation>
    </message>
    <message>
        <source>Lurns CD</source>
        <translation>Lurns CD</translation>
    </message>
    <message>
        <source>Lurns para CD</source>
        <translation>Lurns for CD</translation>
    </message>
    <message>
        <source>Parametros do programa</source>
        <translation>Program settings</translation>
    </message>
    <message>
        <source>Previsão no monitor da impressão da lurn</source>
        <translation>Preview the printed cover on screen</translation>
    </message>
    <message>
        <source>Remover a imagem de fundo</source>
        <translation>Remove the background picture</translation>
    </message>
    <message>
        <source>Roda o texto 90º para a direita</source>
        <translation>Turns the text 90º to the right</translation>
    </message>
    <message>
        <source>Roda o texto 90º para a esquerda</source>
        <translation>Turns the text 90º to the left</translation>
    </message>
    <message>
        <source>Rodar 90º &amp;Direita</source>
        <translation>Turn 90º &amp;Right</translation>
    </message>
    <message>
        <source>Rodar 90º &amp;Esquerda</source>
        <translation>Turn 90º &amp;Left</translation>
    </message>
    <message>
        <source>Rodar 90º direita</source>
        <translation>Turn 90º right</translation>
    </message>
    <message>
        <source>Rodar 90º esquerda</source>
        <translation>Turn 90º left</translation>
    </message>
    <message>
        <source>Seleccione para que a imagem não ocupe a lombada</source>
        <translation>Check so that the picture does not cover the spines</translation>
    </message>
    <message>
        <source>Sobre o programa</source>
        <translation>About the program</translation>
    </message>
    <message>
        <source>Trás</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Trás com lombada</source>
        <translation>Back with spines</translation>
    </message>
    <message>
        <source>Des&amp;fazer</source>
        <translation>U&amp;ndo</translation>
    </message>
    <message>
        <source>Refa&amp;zer</source>
        <translation>Red&amp;o</translation>
    </message>
    <message>
        <source>Desfaz a última alteração</source>
        <translation>Undoes the last change</translation>
    </message>
    <message>
        <source>Refaz a alteração desfeita</source>
        <translation>Redoes the change undone</translation>
    </message>
    <message>
        <source>Co&amp;rtar</source>
        <translation>C&amp;ut</translation>
    </message>
    <message>
        <source>Copia o objecto seleccionado para a transferência e apaga-o</source>
        <translation>Copies the selected object to the clipboard and deletes it</translation>
    </message>
    <message>
        <source>Cortar</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Inserir texto</source>
        <translation>Insert text</translation>
    </message>
    <message>
        <source>Inserir imagem</source>
        <translation>Insert picture</translation>
    </message>
    <message>
        <source>Editar texto</source>
        <translation>Edit text</translation>
    </message>
    <message>
        <source>Alterar imagem</source>
        <translation>Change picture</translation>
    </message>
    <message>
        <source>Alinhar à esquerda</source>
        <translation>Align left</translation>
    </message>
    <message>
        <source>Centrar</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>Alinhar à direita</source>
        <translation>Align right</translation>
    </message>
    <message>
        <source>Rodar à esquerda</source>
        <translation>Turn left</translation>
    </message>
    <message>
        <source>Rodar à direita</source>
        <translation>Turn right</translation>
    </message>
    <message>
        <source>Imagem de fundo</source>
        <translation>Background picture</translation>
    </message>
    <message>
        <source>Cor de fundo</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>Limpar imagem de fundo</source>
        <translation>Clear background picture</translation>
    </message>
    <message>
        <source>Mover</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>Redimensionar</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>Importar &amp;faixas…</source>
        <translation>Import &amp;Tracks…</translation>
    </message>
    <message>
        <source>Coloca a lista de faixas de um álbum (pasta de música, folha CUE ou lista de texto) na capa</source>
        <translation>Places an album's track list (a music folder, a CUE sheet or a text list) on the cover</translation>
    </message>
    <message>
        <source>Importar faixas</source>
        <translation>Import Tracks</translation>
    </message>
</context>
<context>
    <name>TfrmParametros</name>
    <message>
        <source>Marcas de corte e dobra</source>
        <translation>Crop and fold marks</translation>
    </message>
    <message>
        <source>Sangria de 3 mm</source>
        <translation>3 mm bleed</translation>
    </message>
    <message>
        <source>Papel do CD</source>
        <translation>Disc paper</translation>
    </message>
    <message>
        <source>A4 simples</source>
        <translation>Plain A4</translation>
    </message>
    <message>
        <source>Própria</source>
        <translation>Own</translation>
    </message>
    <message>
        <source>Exterior</source>
        <translation>Outer</translation>
    </message>
    <message>
        <source>Furo</source>
        <translation>Hole</translation>
    </message>
    <message>
        <source>Centro 1</source>
        <translation>Centre 1</translation>
    </message>
    <message>
        <source>Centro 2</source>
        <translation>Centre 2</translation>
    </message>
    <message>
        <source>Alterar</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>Cor da marca de dobra</source>
        <translation>Fold mark colour</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Gravação por defeito</source>
        <translation>Default save mode</translation>
    </message>
    <message>
        <source>Grelha</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>Horizontal</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>Lingua</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Lurns com imagens</source>
        <translation>Covers with pictures</translation>
    </message>
    <message>
        <source>Lurns sem imagens</source>
        <translation>Covers without pictures</translation>
    </message>
    <message>
        <source>Margem esquerda</source>
        <translation>Left margin</translation>
    </message>
    <message>
        <source>Margem superior</source>
        <translation>Top margin</translation>
    </message>
    <message>
        <source>Margens</source>
        <translation>Margins</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Parametros</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Português</source>
        <translation>Português</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
</context>
<context>
    <name>TfrmSplash</name>
    <message>
        <source>Feito em Portugal</source>
        <translation>Made in Portugal</translation>
    </message>
    <message>
        <source>Lurns 1.2</source>
        <translation>Lurns 1.2</translation>
    </message>
    <message>
        <source>Lurns para CD</source>
        <translation>Lurns for CD</translation>
    </message>
    <message>
        <source>Programa de impressão de</source>
        <translation>Printing program for</translation>
    </message>
    <message>
        <source>lurns para CD</source>
        <translation>CD covers</translation>
    </message>
</context>
</TS>
