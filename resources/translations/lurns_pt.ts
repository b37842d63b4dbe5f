<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_PT" sourcelanguage="pt_PT">
<context>
    <name>TAboutBox</name>
    <message>
        <source>Clique na imagem para visitar a minha página</source>
        <translation>Clique na imagem para visitar a minha página</translation>
    </message>
    <message>
        <source>Desenho e programação:</source>
        <translation>Desenho e programação:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Programa de impressão de lurns para CD</source>
        <translation>Programa de impressão de lurns para CD</translation>
    </message>
    <message>
        <source>Sobre</source>
        <translation>Sobre</translation>
    </message>
    <message>
        <source>Versão 1.2</source>
        <translation>Versão 1.2</translation>
    </message>
    <message>
        <source>a equipa Lurns</source>
        <translation>a equipa Lurns</translation>
    </message>
</context>
<context>
    <name>TDialogoFaixas</name>
    <message>
        <source>Importar faixas</source>
        <translation>Importar faixas</translation>
    </message>
    <message>
        <source>Faixas de %1:</source>
        <translation>Faixas de %1:</translation>
    </message>
    <message>
        <source>Título</source>
        <translation>Título</translation>
    </message>
    <message>
        <source>Linha na capa</source>
        <translation>Linha na capa</translation>
    </message>
    <message>
        <source>Ficheiros ignorados:</source>
        <translation>Ficheiros ignorados:</translation>
    </message>
    <message>
        <source>{n} número, {t} título, {a} artista, {d} duração</source>
        <translation>{n} número, {t} título, {a} artista, {d} duração</translation>
    </message>
    <message>
        <source>&amp;Formato da linha:</source>
        <translation>&amp;Formato da linha:</translation>
    </message>
    <message>
        <source>&amp;Letra...</source>
        <translation>&amp;Letra...</translation>
    </message>
    <message>
        <source>Letra:</source>
        <translation>Letra:</translation>
    </message>
    <message>
        <source>Trás</source>
        <translation>Trás</translation>
    </message>
    <message>
        <source>Interior</source>
        <translation>Interior</translation>
    </message>
    <message>
        <source>Fol&amp;ha:</source>
        <translation>Fol&amp;ha:</translation>
    </message>
    <message>
        <source>Álbum na frente: %1</source>
        <translation>Álbum na frente: %1</translation>
    </message>
    <message>
        <source>Álbum na frente (título e artista não conhecidos)</source>
        <translation>Álbum na frente (título e artista não conhecidos)</translation>
    </message>
    <message>
        <source>Álbum nas lombadas</source>
        <translation>Álbum nas lombadas</translation>
    </message>
    <message>
        <source>&amp;Colocar</source>
        <translation>&amp;Colocar</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>TfrmLurn</name>
    <message>
        <source>&amp;Abrir</source>
        <translation>&amp;Abrir</translation>
    </message>
    <message>
        <source>&amp;Ajuda</source>
        <translation>&amp;Ajuda</translation>
    </message>
    <message>
        <source>&amp;Apagar</source>
        <translation>&amp;Apagar</translation>
    </message>
    <message>
        <source>&amp;Copiar</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>&amp;Cor de fundo</source>
        <translation>&amp;Cor de fundo</translation>
    </message>
    <message>
        <source>&amp;Editar</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>&amp;Ficheiros</source>
        <translation>&amp;Ficheiros</translation>
    </message>
    <message>
        <source>&amp;Gravar</source>
        <translation>&amp;Gravar</translation>
    </message>
    <message>
        <source>&amp;Imagem de fundo</source>
        <translation>&amp;Imagem de fundo</translation>
    </message>
    <message>
        <source>&amp;Imprimir</source>
        <translation>&amp;Imprimir</translation>
    </message>
    <message>
        <source>&amp;Novo</source>
        <translation>&amp;Novo</translation>
    </message>
    <message>
        <source>&amp;Objectos</source>
        <translation>&amp;Objectos</translation>
    </message>
    <message>
        <source>&amp;Parametros</source>
        <translation>&amp;Parametros</translation>
    </message>
    <message>
        <source>&amp;Exportar…</source>
        <translation>&amp;Exportar…</translation>
    </message>
    <message>
        <source>Exporta as páginas da lurn para PDF, PNG ou SVG</source>
        <translation>Exporta as páginas da lurn para PDF, PNG ou SVG</translation>
    </message>
    <message>
        <source>&amp;Prever Impressão</source>
        <translation>&amp;Prever Impressão</translation>
    </message>
    <message>
        <source>&amp;Sair</source>
        <translation>&amp;Sair</translation>
    </message>
    <message>
        <source>&amp;Sobre...</source>
        <translation>&amp;Sobre...</translation>
    </message>
    <message>
        <source>Abrir uma lurn gravada em disco</source>
        <translation>Abrir uma lurn gravada em disco</translation>
    </message>
    <message>
        <source>Ajuda do programa</source>
        <translation>Ajuda do programa</translation>
    </message>
    <message>
        <source>Alinha o texto à direita</source>
        <translation>Alinha o texto à direita</translation>
    </message>
    <message>
        <source>Alinha o texto à esquerda</source>
        <translation>Alinha o texto à esquerda</translation>
    </message>
    <message>
        <source>Alinhar &amp;Direita</source>
        <translation>Alinhar &amp;Direita</translation>
    </message>
    <message>
        <source>Alinhar &amp;Esquerda</source>
        <translation>Alinhar &amp;Esquerda</translation>
    </message>
    <message>
        <source>Alinhar à grelha</source>
        <translation>Alinhar à grelha</translation>
    </message>
    <message>
        <source>Altera a cor de fundo da lurn</source>
        <translation>Altera a cor de fundo da lurn</translation>
    </message>
    <message>
        <source>Altera a imagem de fundo da lurn</source>
        <translation>Altera a imagem de fundo da lurn</translation>
    </message>
    <message>
        <source>Alterar &amp;fonte e cor</source>
        <translation>Alterar &amp;fonte e cor</translation>
    </message>
    <message>
        <source>Alterar a fonte e/ou cor do texto seleccionado</source>
        <translation>Alterar a fonte e/ou cor do texto seleccionado</translation>
    </message>
    <message>
        <source>Alterar a imagem seleccionada</source>
        <translation>Alterar a imagem seleccionada</translation>
    </message>
    <message>
        <source>Alterar fonte</source>
        <translation>Alterar fonte</translation>
    </message>
    <message>
        <source>Alterar ima&amp;gem</source>
        <translation>Alterar ima&amp;gem</translation>
    </message>
    <message>
        <source>Apaga o objecto seleccionado</source>
        <translation>Apaga o objecto seleccionado</translation>
    </message>
    <message>
        <source>Apagar</source>
        <translation>Apagar</translation>
    </message>
    <message>
        <source>C&amp;olar</source>
        <translation>C&amp;olar</translation>
    </message>
    <message>
        <source>C&amp;onfigurar Impressora</source>
        <translation>C&amp;onfigurar Impressora</translation>
    </message>
    <message>
        <source>CD</source>
        <translation>CD</translation>
    </message>
    <message>
        <source>Cen&amp;trar</source>
        <translation>Cen&amp;trar</translation>
    </message>
    <message>
        <source>Centra o texto</source>
        <translation>Centra o texto</translation>
    </message>
    <message>
        <source>Colar</source>
        <translation>Colar</translation>
    </message>
    <message>
        <source>Configuração da impressora</source>
        <translation>Configuração da impressora</translation>
    </message>
    <message>
        <source>Copia da transferência para o painel actual</source>
        <translation>Copia da transferência para o painel actual</translation>
    </message>
    <message>
        <source>Copia o objecto seleccionado para a transferência</source>
        <translation>Copia o objecto seleccionado para a transferência</translation>
    </message>
    <message>
        <source>Copiar</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Criação de uma nova lurn</source>
        <translation>Criação de uma nova lurn</translation>
    </message>
    <message>
        <source>Editar o texto seleccionado</source>
        <translation>Editar o texto seleccionado</translation>
    </message>
    <message>
        <source>Editar texto &amp;seleccionado</source>
        <translation>Editar texto &amp;seleccionado</translation>
    </message>
    <message>
        <source>Editar/Alterar imagem</source>
        <translation>Editar/Alterar imagem</translation>
    </message>
    <message>
        <source>Está farto de fazer lurns e quer dar de &quot;frosques&quot;?</source>
        <translation>Está farto de fazer lurns e quer dar de &quot;frosques&quot;?</translation>
    </message>
    <message>
        <source>Frente</source>
        <translation>Frente</translation>
    </message>
    <message>
        <source>Gravar &amp;Como</source>
        <translation>Gravar &amp;Como</translation>
    </message>
    <message>
        <source>Gravar uma lurn em disco</source>
        <translation>Gravar uma lurn em disco</translation>
    </message>
    <message>
        <source>Gravar uma lurn em disco com novo nome</source>
        <translation>Gravar uma lurn em disco com novo nome</translation>
    </message>
    <message>
        <source>Imprime a lurn actual</source>
        <translation>Imprime a lurn actual</translation>
    </message>
    <message>
        <source>Insere um campo de texto</source>
        <translation>Insere um campo de texto</translation>
    </message>
    <message>
        <source>Insere uma nova imagem</source>
        <translation>Insere uma nova imagem</translation>
    </message>
    <message>
        <source>Inserir &amp;texto</source>
        <translation>Inserir &amp;texto</translation>
    </message>
    <message>
        <source>Inserir i&amp;magem</source>
        <translation>Inserir i&amp;magem</translation>
    </message>
    <message>
        <source>Interior</source>
        <translation>Interior</translation>
    </message>
    <message>
        <source>Limpar Imagem Fundo</source>
        <translation>Limpar Imagem Fundo</translation>
    </message>
    <message>
        <source>Lurns CD</source>
        <translation>Lurns CD</translation>
    </message>
    <message>
        <source>Lurns para CD</source>
        <translation>Lurns para CD</translation>
    </message>
    <message>
        <source>Parametros do programa</source>
        <translation>Parametros do programa</translation>
    </message>
    <message>
        <source>Previsão no monitor da impressão da lurn</source>
        <translation>Previsão no monitor da impressão da lurn</translation>
    </message>
    <message>
        <source>Remover a imagem de fundo</source>
        <translation>Remover a imagem de fundo</translation>
    </message>
    <message>
        <source>Roda o texto 90º para a direita</source>
        <translation>Roda o texto 90º para a direita</translation>
    </message>
    <message>
        <source>Roda o texto 90º para a esquerda</source>
        <translation>Roda o texto 90º para a esquerda</translation>
    </message>
    <message>
        <source>Rodar 90º &amp;Direita</source>
        <translation>Rodar 90º &amp;Direita</translation>
    </message>
    <message>
        <source>Rodar 90º &amp;Esquerda</source>
        <translation>Rodar 90º &amp;Esquerda</translation>
    </message>
    <message>
        <source>Rodar 90º direita</source>
        <translation>Rodar 90º direita</translation>
    </message>
    <message>
        <source>Rodar 90º esquerda</source>
        <translation>Rodar 90º esquerda</translation>
    </message>
    <message>
        <source>Seleccione para que a imagem não ocupe a lombada</source>
        <translation>Seleccione para que a imagem não ocupe a lombada</translation>
    </message>
    <message>
        <source>Sobre o programa</source>
        <translation>Sobre o programa</translation>
    </message>
    <message>
        <source>Trás</source>
        <translation>Trás</translation>
    </message>
    <message>
        <source>Trás com lombada</source>
        <translation>Trás com lombada</translation>
    </message>
    <message>
        <source>Des&amp;fazer</source>
        <translation>Des&amp;fazer</translation>
    </message>
    <message>
        <source>Refa&amp;zer</source>
        <translation>Refa&amp;zer</translation>
    </message>
    <message>
        <source>Desfaz a última alteração</source>
        <translation>Desfaz a última alteração</translation>
    </message>
    <message>
        <source>Refaz a alteração desfeita</source>
        <translation>Refaz a alteração desfeita</translation>
    </message>
    <message>
        <source>Co&amp;rtar</source>
        <translation>Co&amp;rtar</translation>
    </message>
    <message>
        <source>Copia o objecto seleccionado para a transferência e apaga-o</source>
        <translation>Copia o objecto seleccionado para a transferência e apaga-o</translation>
    </message>
    <message>
        <source>Cortar</source>
        <translation>Cortar</translation>
    </message>
    <message>
        <source>Inserir texto</source>
        <translation>Inserir texto</translation>
    </message>
    <message>
        <source>Inserir imagem</source>
        <translation>Inserir imagem</translation>
    </message>
    <message>
        <source>Editar texto</source>
        <translation>Editar texto</translation>
    </message>
    <message>
        <source>Alterar imagem</source>
        <translation>Alterar imagem</translation>
    </message>
    <message>
        <source>Alinhar à esquerda</source>
        <translation>Alinhar à esquerda</translation>
    </message>
    <message>
        <source>Centrar</source>
        <translation>Centrar</translation>
    </message>
    <message>
        <source>Alinhar à direita</source>
        <translation>Alinhar à direita</translation>
    </message>
    <message>
        <source>Rodar à esquerda</source>
        <translation>Rodar à esquerda</translation>
    </message>
    <message>
        <source>Rodar à direita</source>
        <translation>Rodar à direita</translation>
    </message>
    <message>
        <source>Imagem de fundo</source>
        <translation>Imagem de fundo</translation>
    </message>
    <message>
        <source>Cor de fundo</source>
        <translation>Cor de fundo</translation>
    </message>
    <message>
        <source>Limpar imagem de fundo</source>
        <translation>Limpar imagem de fundo</translation>
    </message>
    <message>
        <source>Mover</source>
        <translation>Mover</translation>
    </message>
    <message>
        <source>Redimensionar</source>
        <translation>Redimensionar</translation>
    </message>
    <message>
        <source>Importar &amp;faixas…</source>
        <translation>Importar &amp;faixas…</translation>
    </message>
    <message>
        <source>Coloca a lista de faixas de um álbum (pasta de música, folha CUE ou lista de texto) na capa</source>
        <translation>Coloca a lista de faixas de um álbum (pasta de música, folha CUE ou lista de texto) na capa</translation>
    </message>
    <message>
        <source>Importar faixas</source>
        <translation>Importar faixas</translation>
    </message>
</context>
<context>
    <name>TfrmParametros</name>
    <message>
        <source>Marcas de corte e dobra</source>
        <translation>Marcas de corte e dobra</translation>
    </message>
    <message>
        <source>Sangria de 3 mm</source>
        <translation>Sangria de 3 mm</translation>
    </message>
    <message>
        <source>Papel do CD</source>
        <translation>Papel do CD</translation>
    </message>
    <message>
        <source>A4 simples</source>
        <translation>A4 simples</translation>
    </message>
    <message>
        <source>Própria</source>
        <translation>Própria</translation>
    </message>
    <message>
        <source>Exterior</source>
        <translation>Exterior</translation>
    </message>
    <message>
        <source>Furo</source>
        <translation>Furo</translation>
    </message>
    <message>
        <source>Centro 1</source>
        <translation>Centro 1</translation>
    </message>
    <message>
        <source>Centro 2</source>
        <translation>Centro 2</translation>
    </message>
    <message>
        <source>Alterar</source>
        <translation>Alterar</translation>
    </message>
    <message>
        <source>Cor da marca de dobra</source>
        <translation>Cor da marca de dobra</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Gravação por defeito</source>
        <translation>Gravação por defeito</translation>
    </message>
    <message>
        <source>Grelha</source>
        <translation>Grelha</translation>
    </message>
    <message>
        <source>Horizontal</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>Lingua</source>
        <translation>Lingua</translation>
    </message>
    <message>
        <source>Lurns com imagens</source>
        <translation>Lurns com imagens</translation>
    </message>
    <message>
        <source>Lurns sem imagens</source>
        <translation>Lurns sem imagens</translation>
    </message>
    <message>
        <source>Margem esquerda</source>
        <translation>Margem esquerda</translation>
    </message>
    <message>
        <source>Margem superior</source>
        <translation>Margem superior</translation>
    </message>
    <message>
        <source>Margens</source>
        <translation>Margens</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Parametros</source>
        <translation>Parametros</translation>
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
        <translation>Feito em Portugal</translation>
    </message>
    <message>
        <source>Lurns 1.2</source>
        <translation>Lurns 1.2</translation>
    </message>
    <message>
        <source>Lurns para CD</source>
        <translation>Lurns para CD</translation>
    </message>
    <message>
        <source>Programa de impressão de</source>
        <translation>Programa de impressão de</translation>
    </message>
    <message>
        <source>lurns para CD</source>
        <translation>lurns para CD</translation>
    </message>
</context>
</TS>
