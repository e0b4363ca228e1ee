begin
  Print('2+3*4='); PrintLn(2 + 3 * 4);
  Print('(2+3)*4='); PrintLn((2 + 3) * 4);
  Print('10-4-3='); PrintLn(10 - 4 - 3);
  Print('10-(4-3)='); PrintLn(10 - (4 - 3));
  Print('2*3+4*5='); PrintLn(2 * 3 + 4 * 5);
  Print('100/10/2='); PrintLn(100 / 10 / 2);
  Print('2-3+4='); PrintLn(2 - 3 + 4);
  Print('2*3 div 4='); PrintLn(2 * 3 div 4);
  Print('2*(3 div 4)='); PrintLn(2 * (3 div 4));
  Print('1+2*3-4/2='); PrintLn(1 + 2 * 3 - 4 / 2);
  Print('((1+2)*(3+4))='); PrintLn(((1 + 2) * (3 + 4)));
end.
